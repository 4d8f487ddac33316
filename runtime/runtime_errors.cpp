#include "runtime/runtime_errors.h"

#include <cinttypes>
#include <cstdio>

namespace {

const char* const kErrorTable[] = {
    nullptr,
    "数组成员引用下标超出定义范围",
    "未得到所需要的数值型数据",
    "引用数组成员时维数不为1且不等于该数组目前所具有的维数",
    "数组成员引用下标必须大于等于1",
    "数据或数组类型不匹配",
    "调用DLL命令后发现堆栈错误",
    "子语句参数未返回数据或者返回了非系统基本类型或数组型数据",
    "被比较数据只能使用等于或不等于命令比较",
    "“多项选择”命令的索引值参数小于零或超出了所提供参数表范围",
    "“重定义数组”命令的数组维定义参数值必须大于零或单维时大于等于零",
    "所提供参数的数据类型不符合要求",
};

}  // namespace

const char* RuntimeErrorMessage(int32_t code) {
    if (code < 1 || code >= static_cast<int32_t>(sizeof kErrorTable / sizeof kErrorTable[0])) return nullptr;
    return kErrorTable[code];
}

namespace fatal_text {
const char kAllocationFailed[] = "分配 %d 字节内存失败!";
const char kStartWindowFailed[] = "载入启动窗口失败";
const char kTemplateUnreadable[] = "载入窗口模板数据段出错!";
const char kUnitMissing[] = "指定窗口或窗口组件不存在或尚未载入";
const char kWindowNotLoaded[] = "未载入欲访问窗口组件所在的窗口";
const char kUnitWindowMissing[] = "指定窗口尚未载入";
const char kEventWindowUnknown[] = "未找到引发事件的窗口";
const char kEventUnitUnknown[] = "未找到引发事件的窗口组件";
const char kEventUnitInvalid[] = "引发事件的窗口组件无效";
const char kNotANumber[] = "欲转换数据类型不是数值";
const char kDllCommandMissing[] = "无法找到指定DLL库文件“%s”中的输出命令“%s”";
const char kDllCommandMissingSystem[] = "无法找到指定DLL库文件中的输出命令“%s”";
const char kCaption[] = "错误";
}  // namespace fatal_text

std::string BuildFatalReportText(const char* message, int32_t code) {
    std::string text = "运行时出错!\r\n\r\n";
    if (code != 0) {
        text += "错误代码：";
        text += std::to_string(code);
        text += "\r\n\r\n";
    }
    if (message && *message) {
        text += "错误信息：";
        text += message;
        text += "\r\n";
    }
    return text;
}

std::string AllocationFailedMessage(uint64_t byteCount) {
    // The count is written in decimal in place of the format's %d; counts beyond 32 bits
    // (possible in the 64-bit build) are written whole rather than truncated.
    std::string format = fatal_text::kAllocationFailed;
    size_t at = format.find("%d");
    return format.substr(0, at) + std::to_string(byteCount) + format.substr(at + 2);
}

std::string FormatFatalMessage(const char* format, const char* first, const char* second) {
    std::string out;
    const char* fields[2] = {first ? first : "", second ? second : ""};
    int next = 0;
    for (const char* p = format; *p; ++p) {
        if (p[0] == '%' && p[1] == 's' && next < 2) {
            out += fields[next++];
            ++p;
        } else {
            out += *p;
        }
    }
    return out;
}
