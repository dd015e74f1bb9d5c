// core/ with a window of the UI library.
#include "platform/ui/UIlib.h"
