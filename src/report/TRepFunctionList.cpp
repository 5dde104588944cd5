#include "report/TRepFunctionList.h"

#include "frame/ClassBuilder.h"
#include "frame/TReader.h"
#include "frame/TWriter.h"

namespace report {

namespace {
std::string Upper(std::string_view text) {
    std::string upper(text);
    for (char& c : upper)
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
    return upper;
}
} // namespace

const frame::TClassInfo* TRepFunctionList::StaticClass() {
    static const auto info = frame::TClassBuilder<TRepFunctionList>(
                                 "TRepFunctionList", frame::TStringList::StaticClass())
                                 .Build();
    return info.get();
}

std::string TRepFunctionList::Expression(std::string_view name) const {
    int index = IndexOf(name);
    return index >= 0 && std::size_t(index) < m_expressions.size()
               ? m_expressions[std::size_t(index)]
               : std::string();
}

void TRepFunctionList::SetExpression(std::string_view name, std::string expression) {
    int index = IndexOf(name);
    if (index < 0)
        index = Add(Upper(name));
    m_expressions.at(std::size_t(index)) = std::move(expression);
}

void TRepFunctionList::AddMissing(std::string_view name, std::string expression) {
    if (IndexOf(name) < 0)
        SetExpression(name, std::move(expression));
}

void TRepFunctionList::Insert(int index, const std::string& text) {
    frame::TStringList::Insert(index, text);
    m_expressions.insert(m_expressions.begin() + index, std::string());
}

void TRepFunctionList::Delete(int index) {
    frame::TStringList::Delete(index);
    m_expressions.erase(m_expressions.begin() + index);
}

void TRepFunctionList::Clear() {
    frame::TStringList::Clear();
    m_expressions.clear();
}

void TRepFunctionList::Assign(const frame::TPersistent* source) {
    frame::TStringList::Assign(source);
    if (auto* other = dynamic_cast<const TRepFunctionList*>(source))
        m_expressions = other->m_expressions;
}

void TRepFunctionList::ListDefinedProperties(frame::TFiler& filer) {
    frame::TStringList::ListDefinedProperties(filer);
    filer.DefineProperty(
        "DATA", [this](frame::TReader& r) { ReadData(r); },
        [this](frame::TWriter& w) { WriteData(w); }, Count() > 0);
}

// One expression per string; the list lines up with the names however many come.
void TRepFunctionList::ReadData(frame::TReader& reader) {
    std::vector<std::string> expressions;
    reader.ReadListBegin();
    while (!reader.EndOfList())
        expressions.push_back(reader.ReadString());
    reader.ReadListEnd();
    expressions.resize(std::size_t(Count()));
    m_expressions = std::move(expressions);
}

void TRepFunctionList::WriteData(frame::TWriter& writer) const {
    writer.WriteListBegin();
    for (int i = 0; i < Count(); ++i)
        writer.WriteString(std::size_t(i) < m_expressions.size() ? m_expressions[std::size_t(i)]
                                                                 : std::string());
    writer.WriteListEnd();
}

} // namespace report
