// Host list files as the program writes them, and the lists it writes at its first start
// (GBK, like the program's texts). The inside addresses are the program's own choice within
// the kinds the lists need (the café's private network, the regional DNS server); the
// outside labels are fixed, their addresses placeholders.
#pragma once

#include <string>
#include <utility>
#include <vector>

// One line per host: label, separator, address, separator, CR LF.
inline std::string HostList(const std::vector<std::pair<std::string, std::string>>& hosts) {
    std::string file;
    for (const auto& [label, address] : hosts) file += label + "，" + address + "，\r\n";
    return file;
}

inline const std::vector<std::pair<std::string, std::string>> kDefaultInsideHosts = {
    {"路由器", "192.168.1.1"},       {"游戏服务器A", "192.168.1.250"}, {"游戏服务器B", "192.168.1.251"},
    {"电影服务器", "192.168.1.252"}, {"龙管家服务器", "192.168.1.253"}, {"新疆电信DNS", "61.128.128.68"},
};

inline const std::vector<std::string> kDefaultOutsideLabels = {
    "百度",     "腾讯",     "艾欧尼亚", "祖安",     "诺克萨斯", "班德尔城", "皮尔特沃夫",
    "战争学院", "巨神峰",   "雷瑟守备", "裁决之地", "黑色玫瑰", "暗影岛",   "钢铁烈阳",
    "水晶之痕", "均衡教派", "影流",     "守望之海", "征服之海", "卡拉曼达", "皮城警备",
};
