#include "data/CDaoFieldExchange.h"

#include <algorithm>
#include <charconv>

#include "data/CDaoException.h"

CDaoFieldExchange CDaoFieldExchange::Describe(std::vector<ColumnRequest>* columns,
                                              const std::vector<std::string>* fetched, std::vector<Binding>* members) {
    CDaoFieldExchange fx(DescribeColumns);
    fx.m_describe = columns;
    fx.m_fetchedNames = fetched;
    fx.m_members = members;
    return fx;
}

CDaoFieldExchange CDaoFieldExchange::Clear() { return CDaoFieldExchange(ClearMembers); }

std::string StripBrackets(const std::string& name) {
    if (name.size() >= 2 && name.front() == '[' && name.back() == ']') return name.substr(1, name.size() - 2);
    return name;
}

bool CDaoFieldExchange::IsFetched(const std::string& name) const {
    if (m_fetchedNames == nullptr || m_fetchedNames->empty()) return true;
    return std::find(m_fetchedNames->begin(), m_fetchedNames->end(), name) != m_fetchedNames->end();
}

void CDaoFieldExchange::Exchange(const char* column, FieldKind kind, std::string* text, int32_t* number, bool* flag) {
    if (m_op == ClearMembers) {
        if (text) text->clear();
        if (number) *number = 0;
        if (flag) *flag = false;
        return;
    }
    std::string name = StripBrackets(column);
    bool fetched = IsFetched(name);
    m_describe->push_back({std::move(name), kind, fetched});
    if (fetched && m_members) m_members->push_back({column, text, number, flag});
}

void CDaoFieldExchange::Binding::Load(std::string_view value) const {
    if (text) {
        text->assign(value);
        return;
    }
    long long parsed = 0;
    if (!value.empty()) {
        auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), parsed);
        if (ec != std::errc() || end != value.data() + value.size())
            throw CDaoException("The value \"" + std::string(value) + "\" of column " + column + " is not a number.");
    }
    if (number) *number = static_cast<int32_t>(parsed);
    if (flag) *flag = parsed != 0;
}

void DFX_Text(CDaoFieldExchange* pFX, const char* column, std::string& value, int /*preAllocate*/) {
    pFX->Exchange(column, FieldKind::Text, &value, nullptr, nullptr);
}

void DFX_Long(CDaoFieldExchange* pFX, const char* column, int32_t& value) {
    pFX->Exchange(column, FieldKind::Long, nullptr, &value, nullptr);
}

void DFX_Bool(CDaoFieldExchange* pFX, const char* column, bool& value) {
    pFX->Exchange(column, FieldKind::Bool, nullptr, nullptr, &value);
}
