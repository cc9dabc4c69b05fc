#include "ui/random_window.h"
