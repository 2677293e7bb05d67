#pragma once

#include <initializer_list>

// A set of enumeration members held as bits, element n at bit n.
template <typename Enum, typename Word> class EnumSet {
public:
    constexpr EnumSet() = default;
    constexpr EnumSet(std::initializer_list<Enum> members)
    {
        for (Enum m : members)
            m_bits |= bit(m);
    }

    constexpr bool contains(Enum m) const { return (m_bits & bit(m)) != 0; }
    constexpr void insert(Enum m) { m_bits |= bit(m); }
    constexpr void erase(Enum m) { m_bits &= static_cast<Word>(~bit(m)); }
    constexpr bool empty() const { return m_bits == 0; }
    constexpr Word bits() const { return m_bits; }
    constexpr bool operator==(const EnumSet&) const = default;

private:
    static constexpr Word bit(Enum m) { return static_cast<Word>(Word{1} << static_cast<int>(m)); }
    Word m_bits = 0;
};
