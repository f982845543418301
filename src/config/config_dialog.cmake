# The configuration dialog.
list(APPEND config_WIN config_dialog.cpp)
