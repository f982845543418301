# The main file, the recent lists and the window position kept per file.
list(APPEND settings_CORE recent_lists.cpp)
list(APPEND settings_WIN main_file.cpp)
