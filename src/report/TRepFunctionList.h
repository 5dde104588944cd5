#pragma once
// The report's function list: names ("PAGENUMBER", "COLUMNNUMBER", "REPORTTITLE") with one
// expression text each. The names stream as the list's "Strings", the expressions after them as
// the defined property "DATA", a list of strings in the same order. The report keeps the three
// values up to date while it generates; nothing here evaluates expressions.
#include <string>
#include <vector>

#include "frame/TStrings.h"

namespace frame {
class TReader;
class TWriter;
} // namespace frame

namespace report {

class TRepFunctionList : public frame::TStringList {
public:
    ZORVANE_CLASS(TRepFunctionList)
    TRepFunctionList() = default;

    // The expression of a name ("" when the name is missing or has none).
    std::string Expression(std::string_view name) const;
    // Sets a name's expression, adding the name (upper case) when it is missing.
    void SetExpression(std::string_view name, std::string expression);
    // Adds the name (upper case) with `expression` unless it is there.
    void AddMissing(std::string_view name, std::string expression);
    const std::vector<std::string>& Expressions() const { return m_expressions; }

    // Expressions follow the names they belong to.
    void Insert(int index, const std::string& text) override;
    void Delete(int index) override;
    void Clear() override;

    void Assign(const frame::TPersistent* source) override;
    void ListDefinedProperties(frame::TFiler& filer) override;

private:
    void ReadData(frame::TReader& reader);
    void WriteData(frame::TWriter& writer) const;

    std::vector<std::string> m_expressions;
};

} // namespace report
