#include "toolbox/keyboard_chain.h"

#include <iterator>

namespace {

using namespace units;

// Down the drink column, on at the top of the snacks, then the cigarettes, then 计算.
constexpr ChainLink kLinks[] = {
    {盘饮料1, 盘饮料2},   {盘饮料2, 盘饮料3},   {盘饮料3, 盘饮料4},   {盘饮料4, 盘饮料5},   {盘饮料5, 盘饮料6},
    {盘饮料6, 盘饮料7},   {盘饮料7, 盘饮料8},   {盘饮料8, 盘饮料9},   {盘饮料9, 盘饮料10},  {盘饮料10, 盘饮料11},
    {盘饮料11, 盘饮料12}, {盘饮料12, 盘饮料13}, {盘饮料13, 盘饮料14}, {盘饮料14, 盘小吃1},  {盘小吃1, 盘小吃2},
    {盘小吃2, 盘小吃3},   {盘小吃3, 盘小吃4},   {盘小吃4, 盘小吃5},   {盘小吃5, 盘小吃6},   {盘小吃6, 盘小吃7},
    {盘小吃7, 盘小吃8},   {盘小吃8, 盘小吃9},   {盘小吃9, 盘小吃10},  {盘小吃10, 盘小吃11}, {盘小吃11, 盘小吃12},
    {盘小吃12, 盘小吃13}, {盘小吃13, 盘小吃14}, {盘小吃14, 盘香烟1},  {盘香烟1, 盘香烟2},   {盘香烟2, 盘香烟3},
    {盘香烟3, 盘香烟4},   {盘香烟4, 计算},
    {编辑框1, 编辑框2},   {编辑框2, 编辑框3},   {编辑框3, 计算按钮},
};

}  // namespace

const ChainLink* SuccessorOf(rt::AnyUnit unit) {
    for (const ChainLink& link : kLinks)
        if (link.from == unit) return &link;
    return nullptr;
}

ChainLinks AllChainLinks() { return {std::begin(kLinks), std::end(kLinks)}; }
