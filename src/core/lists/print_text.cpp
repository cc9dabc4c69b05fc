#include "core/lists/print_text.h"
