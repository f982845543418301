# The grid layout of the bar buttons: the platform-free division and the Win32 shell that applies it.
list(APPEND app_CORE grid_layout.cpp)
list(APPEND app_WIN layout_buttons.cpp)
