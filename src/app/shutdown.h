// What happens after the button bar has closed: "Last file", "LastDir" and the logs.
#pragma once

void SaveOnExit();
