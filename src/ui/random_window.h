// The random-selection window ("addrandom").
#pragma once
