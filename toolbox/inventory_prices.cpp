#include "toolbox/inventory_prices.h"

#include <cstddef>

namespace {

using namespace units;

// The drink prices are not evenly spaced: there is no 9, 11, 13 or 14 yuan drink.
constexpr PricedBox kDrinks[] = {
    {盘饮料1, 1},  {盘饮料2, 1.5}, {盘饮料3, 2},   {盘饮料4, 2.5},   {盘饮料5, 3},     {盘饮料6, 3.5},   {盘饮料7, 4},
    {盘饮料8, 5},  {盘饮料9, 6},   {盘饮料10, 7},  {盘饮料11, 8},   {盘饮料12, 10},  {盘饮料13, 12},  {盘饮料14, 15},
};
constexpr PricedBox kSnacks[] = {
    {盘小吃1, 0.5}, {盘小吃2, 1},   {盘小吃3, 1.5},   {盘小吃4, 2},     {盘小吃5, 2.5},   {盘小吃6, 3},     {盘小吃7, 3.5},
    {盘小吃8, 4},   {盘小吃9, 4.5}, {盘小吃10, 5},   {盘小吃11, 5.5}, {盘小吃12, 6},   {盘小吃13, 6.5}, {盘小吃14, 7},
};
constexpr PricedBox kCigarettes[] = {{盘香烟1, 11}, {盘香烟2, 14}, {盘香烟3, 23}, {盘香烟4, 25}};

}  // namespace

std::span<const PricedBox> DrinkPrices() { return kDrinks; }
std::span<const PricedBox> SnackPrices() { return kSnacks; }
std::span<const PricedBox> CigarettePrices() { return kCigarettes; }

double ColumnValue(std::span<const PricedBox> column, std::span<const double> counts) {
    double sum = 0;
    for (size_t row = 0; row < column.size() && row < counts.size(); ++row) sum += counts[row] * column[row].price;
    return sum;
}
