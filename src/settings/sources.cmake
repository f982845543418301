# Settings store: the settings file and records, recent lists, selection dialogs, strings, errors, help.
set(settings_CORE bounded_text.cpp settings_rules.cpp)
set(settings_WIN settings_file.cpp res_strings.cpp message_boxes.cpp help.cpp)
