// The fixed unit prices of the stock-count sheet: one per count box, in row order, held as
// doubles (every price is a multiple of 0.5). Portable.
#pragma once

#include <span>

#include "main_window_units.h"

struct PricedBox {
    rt::Unit<rt::EditBox> box;
    double price;  // yuan
};

std::span<const PricedBox> DrinkPrices();      // 盘饮料1 … 盘饮料14
std::span<const PricedBox> SnackPrices();      // 盘小吃1 … 盘小吃14
std::span<const PricedBox> CigarettePrices();  // 盘香烟1 … 盘香烟4

// The value of a column: the sum of count × price over its rows, row 1 first. `counts`
// holds one count per row.
double ColumnValue(std::span<const PricedBox> column, std::span<const double> counts);
