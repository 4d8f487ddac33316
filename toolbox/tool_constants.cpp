#include "toolbox/tool_constants.h"

const ToolConstants kToolConstants = {
    {0},
    {1, 0},
};
