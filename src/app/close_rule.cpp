// Whether the bar may close at once.
#include "app/close_rule.h"

#include "res/resource.h"

int CloseQuestionId(long children) {
    if (children <= 0) return 0;
    return children == 1 ? IDS_CLOSE_ONE_CHILD : IDS_CLOSE_CHILDREN;
}
