# Settings file and records, strings, error boxes and help.
list(APPEND settings_CORE bounded_text.cpp settings_rules.cpp)
list(APPEND settings_WIN settings_file.cpp res_strings.cpp message_boxes.cpp help.cpp)
