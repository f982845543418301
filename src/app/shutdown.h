// What happens after the button bar has closed: the shell told of the last main file, "Last file",
// "LastDir" and the logs.
#pragma once

void SaveOnExit();
