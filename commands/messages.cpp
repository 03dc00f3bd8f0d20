#include "commands/commands.h"

namespace km {

const char* const kDefaultMessageTitle = "信息：";
const char* const kMounted = "已挂载";
const char* const kNotMounted = "未挂载";

}  // namespace km
