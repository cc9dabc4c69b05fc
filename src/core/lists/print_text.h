// The printed form of a practice list.
#pragma once
