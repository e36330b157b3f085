#include "platform/grid/GridStyle.h"

namespace tvane {

namespace {

template <class T> void Take(std::optional<T>& mine, const std::optional<T>& theirs) {
    if (theirs)
        mine = theirs;
}

} // namespace

void GridStyle::ChangeStyle(const GridStyle& other) {
    Take(control, other.control);
    Take(readOnly, other.readOnly);
    Take(interior, other.interior);
    Take(textColor, other.textColor);
    Take(hAlign, other.hAlign);
    Take(vAlign, other.vAlign);
    Take(maxLength, other.maxLength);
    Take(choiceList, other.choiceList);
    Take(value, other.value);
    Take(font, other.font);
    Take(rightBorder, other.rightBorder);
    Take(bottomBorder, other.bottomBorder);
    Take(wrapText, other.wrapText);
    for (const auto& [id, text] : other.userAttributes)
        userAttributes[id] = text;
}

const std::string* GridStyle::UserAttribute(int id) const {
    auto it = userAttributes.find(id);
    return it != userAttributes.end() ? &it->second : nullptr;
}

std::vector<std::string> SplitChoiceList(const std::string& list) {
    std::vector<std::string> items;
    std::size_t start = 0;
    for (std::size_t end; (end = list.find('\n', start)) != std::string::npos; start = end + 1)
        items.push_back(list.substr(start, end - start));
    return items;
}

} // namespace tvane
