// What happens to a run's log once its program has ended.
#include "exec/log_decision.h"

#include "settings/settings_records.h"

LogAction LogActionFor(int logMode, unsigned long exitCode) {
    switch (logMode) {
    case kLogAlways: return LogAction::kOpen;
    case kLogOnError: return exitCode != 0 ? LogAction::kOpen : LogAction::kNothing;
    case kLogAskUser: return LogAction::kAsk;
    default: return LogAction::kNothing;
    }
}

bool IsLogged(int logMode) {
    return logMode != kLogNever;
}
