#include "books/address_book_rules.h"

#include "books/book_lines.h"

namespace {

bool IsSeparator(char c) {
    return c == ' ' || c == ';' || c == ',';
}

constexpr size_t kShortestFieldText = 5; // a shorter text cannot hold an address

} // namespace

std::string RecipientEditText(const std::string& fieldText, const char* placeholder) {
    std::string edit;
    if (placeholder != nullptr && fieldText == placeholder) {
        return edit;
    }
    size_t start = 0;
    while (start < fieldText.size()) {
        if (IsSeparator(fieldText[start])) {
            ++start;
            continue;
        }
        size_t end = start;
        while (end < fieldText.size() && !IsSeparator(fieldText[end])) {
            ++end;
        }
        edit.append(fieldText, start, end - start);
        edit += "\r\n";
        start = end;
    }
    return edit;
}

void AppendRecipientLine(std::string& editText, const std::string& address) {
    editText += ' ';
    editText += address;
    editText += "\r\n";
}

bool FieldTextFromRecipientEdit(const std::string& editText, std::string& fieldText) {
    fieldText = editText;
    for (char& c : fieldText) {
        if (c == '\r' || c == '\n') {
            c = ' ';
        }
    }
    return fieldText.size() >= kShortestFieldText;
}

const std::string& AddressColumnText(const AddressEntry& entry, int column) {
    return column == 1 ? entry.address : entry.name;
}

int CompareAddressEntries(const AddressEntry& a, const AddressEntry& b, int column) {
    return CompareTextNoCase(AddressColumnText(a, column), AddressColumnText(b, column));
}
