#pragma once
#include <cctype>
#include <fstream>
#include <map>
#include <string>

#include "theory/item_names.h"

// The program's Russian string table, read straight from the source tree: the theory tests
// run without Qt and the program's string resources, yet name items with the real texts.
namespace harmik::test {

inline const std::map<int, std::string>& theoryStrings() {
    static const std::map<int, std::string> strings = [] {
        std::map<int, std::string> table;
        std::ifstream file(HARMIK_RU_STRINGS);
        for (std::string line; std::getline(file, line);) {
            const std::size_t tab = line.find('\t');
            if (tab != std::string::npos && tab > 0 && std::isdigit(line[0]))
                table[std::stoi(line.substr(0, tab))] = line.substr(tab + 1);
        }
        return table;
    }();
    return strings;
}

inline StringLookup theoryLookup() {
    return [](int id) {
        const auto it = theoryStrings().find(id);
        return it == theoryStrings().end() ? std::string() : it->second;
    };
}

} // namespace harmik::test
