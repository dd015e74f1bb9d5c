// A module below the shell that reaches up into it.
#include "app/MainFrame.h"
