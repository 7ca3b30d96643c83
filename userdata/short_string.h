#pragma once
#include <QString>
#include <array>
#include <cstdint>

namespace harmik {

// Text in stored records is Windows-1251; these convert it to and from Unicode at the edge.
QString FromCp1251(const char* bytes, int length);
QByteArray ToCp1251(const QString& text); // characters the code page lacks become '?'

// A stored short string: a length byte and a fixed capacity of single-byte characters.
template <int Capacity> struct ShortString {
    std::uint8_t Length = 0;
    std::array<char, Capacity> Chars{};

    QString text() const {
        const int n = Length <= Capacity ? Length : Capacity;
        return FromCp1251(Chars.data(), n);
    }

    // Stores as much of the text as fits; the bytes past the length are zeroed.
    void setText(const QString& value) {
        const QByteArray bytes = ToCp1251(value);
        const int n = bytes.size() < Capacity ? static_cast<int>(bytes.size()) : Capacity;
        Chars.fill(0);
        for (int i = 0; i < n; ++i)
            Chars[static_cast<std::size_t>(i)] = bytes[i];
        Length = static_cast<std::uint8_t>(n);
    }
};

} // namespace harmik
