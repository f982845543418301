# The About box.
list(APPEND settings_WIN about_box.cpp)
