// The process's own handles.
#include "base/handles.h"

AppHandles g_app;
