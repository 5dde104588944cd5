#include "frame/TStrings.h"

#include "frame/ClassBuilder.h"
#include "frame/TReader.h"
#include "frame/TWriter.h"
#include "rtl/Exception.h"
#include "rtl/ScopeExit.h"

namespace frame {

const TClassInfo* TStrings::StaticClass() {
    static const auto info =
        TClassBuilder<TStrings>("TStrings", TPersistent::StaticClass()).Build();
    return info.get();
}

const TClassInfo* TStringList::StaticClass() {
    static const auto info =
        TClassBuilder<TStringList>("TStringList", TStrings::StaticClass()).Build();
    return info.get();
}

int TStrings::Add(const std::string& text) {
    int index = Count();
    Insert(index, text);
    return index;
}

int TStrings::IndexOf(std::string_view text) const {
    for (int i = 0; i < Count(); ++i) {
        if (SameText(Get(i), text))
            return i;
    }
    return -1;
}

std::string TStrings::Text() const {
    std::string out;
    for (int i = 0; i < Count(); ++i) {
        out += Get(i);
        out += '\n';
    }
    return out;
}

void TStrings::SetText(std::string_view text) {
    BeginUpdate();
    rtl::ScopeExit endUpdate([this] { EndUpdate(); });
    Clear();
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        Add(std::string(line));
        start = end + 1;
    }
}

void TStrings::BeginUpdate() {
    ++m_updateCount;
}

void TStrings::EndUpdate() {
    if (m_updateCount > 0 && --m_updateCount == 0)
        Changed();
}

void TStrings::Assign(const TPersistent* source) {
    auto* other = dynamic_cast<const TStrings*>(source);
    if (!other) {
        TPersistent::Assign(source);
        return;
    }
    if (other == this)
        return;
    BeginUpdate();
    rtl::ScopeExit endUpdate([this] { EndUpdate(); });
    Clear();
    for (int i = 0; i < other->Count(); ++i)
        Add(other->Get(i));
}

void TStrings::ReadStrings(TReader& reader) {
    reader.ReadListBegin();
    BeginUpdate();
    rtl::ScopeExit endUpdate([this] { EndUpdate(); });
    Clear();
    while (!reader.EndOfList())
        Add(reader.ReadString());
    reader.ReadListEnd();
}

void TStrings::WriteStrings(TWriter& writer) const {
    writer.WriteListBegin();
    for (int i = 0; i < Count(); ++i)
        writer.WriteString(Get(i));
    writer.WriteListEnd();
}

void TStrings::ListDefinedProperties(TFiler& filer) {
    filer.DefineValueProperty(
        "Strings", [this](TReader& r) { ReadStrings(r); }, [this](TWriter& w) { WriteStrings(w); },
        Count() > 0);
}

const std::string& TStringList::Get(int index) const {
    if (index < 0 || index >= Count())
        throw rtl::EStringListError("List index out of bounds (%d)", index);
    return m_lines[static_cast<size_t>(index)];
}

void TStringList::Put(int index, const std::string& text) {
    if (index < 0 || index >= Count())
        throw rtl::EStringListError("List index out of bounds (%d)", index);
    m_lines[static_cast<size_t>(index)] = text;
    Changed();
}

void TStringList::Insert(int index, const std::string& text) {
    if (index < 0 || index > Count())
        throw rtl::EStringListError("List index out of bounds (%d)", index);
    m_lines.insert(m_lines.begin() + index, text);
    Changed();
}

void TStringList::Delete(int index) {
    if (index < 0 || index >= Count())
        throw rtl::EStringListError("List index out of bounds (%d)", index);
    m_lines.erase(m_lines.begin() + index);
    Changed();
}

void TStringList::Clear() {
    if (m_lines.empty())
        return;
    m_lines.clear();
    Changed();
}

void TStringList::Changed() {
    if (UpdateCount() == 0)
        OnChange(this);
}

} // namespace frame
