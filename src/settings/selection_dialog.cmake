# The selection dialog for the main file and the default folder.
list(APPEND settings_WIN selection_dialog.cpp)
