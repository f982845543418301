// The process's own handles.
#include "base/app_handles.h"

AppHandles g_app;
