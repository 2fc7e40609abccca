// inventory.cpp - a small stock list with C++20/23 features.
#include <algorithm>
#include <format>
#include <iostream>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace shop {

enum class Unit : std::uint8_t { Piece, Kilogram, Litre };

struct Item {
    std::string name;
    double price = 0.0;
    int stock{};
    Unit unit = Unit::Piece;
};

template <typename T>
concept Priced = requires(const T& t) { { t.price } -> std::convertible_to<double>; };

class Inventory {
public:
    void add(Item item) { items_.emplace(item.name, std::move(item)); }

    [[nodiscard]] std::optional<Item> find(const std::string& name) const noexcept
    {
        if (auto it = items_.find(name); it != items_.end())
            return it->second;
        return std::nullopt;
    }

    template <Priced T>
    static constexpr double total(const std::vector<T>& list)
    {
        double sum = 0;
        for (const auto& x : list) sum += x.price;
        return sum;
    }

private:
    std::map<std::string, Item> items_;
};

} // namespace shop

int main()
{
    shop::Inventory inv;
    inv.add({"apple", 0.45, 120});
    inv.add({.name = "milk", .price = 1.2, .stock = 0x10, .unit = shop::Unit::Litre});

    if (const auto milk = inv.find("milk"); milk.has_value())
        std::cout << std::format("{:<8}{:>6.2f}\n", milk->name, milk->price);
    std::vector<shop::Item> basket{{"tea", 3.5, 1}, {"jam", 2.25, 2}};
    std::cout << "total: " << shop::Inventory::total(basket) << '\n';
    return nullptr == &inv ? 1 : 0;
}
