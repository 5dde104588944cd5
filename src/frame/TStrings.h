#pragma once
// String lists. Their lines are streamed as the defined property "Strings" (a list of strings);
// reading it replaces the lines.
#include <string>
#include <vector>

#include "frame/TEvent.h"
#include "frame/TPersistent.h"

namespace frame {

class TReader;
class TWriter;

class TStrings : public TPersistent {
public:
    ZORVANE_CLASS(TStrings)

    virtual int Count() const = 0;
    virtual const std::string& Get(int index) const = 0;
    virtual void Put(int index, const std::string& text) = 0;
    virtual void Insert(int index, const std::string& text) = 0;
    virtual void Delete(int index) = 0;
    virtual void Clear() = 0;
    int Add(const std::string& text);
    int IndexOf(std::string_view text) const; // ASCII case-insensitive
    // Lines joined with "\n" (each line ends with one); setting splits at "\n" or "\r\n".
    std::string Text() const;
    void SetText(std::string_view text);
    void BeginUpdate();
    void EndUpdate();

    void Assign(const TPersistent* source) override;
    void ListDefinedProperties(TFiler& filer) override;

protected:
    // Told after the lines change, when no update is in progress.
    virtual void Changed() {}
    int UpdateCount() const { return m_updateCount; }

private:
    void ReadStrings(TReader& reader);
    void WriteStrings(TWriter& writer) const;

    int m_updateCount = 0;
};

class TStringList : public TStrings {
public:
    ZORVANE_CLASS(TStringList)

    int Count() const override { return static_cast<int>(m_lines.size()); }
    const std::string& Get(int index) const override;
    void Put(int index, const std::string& text) override;
    void Insert(int index, const std::string& text) override;
    void Delete(int index) override;
    void Clear() override;

    TNotifyEvent OnChange;

protected:
    void Changed() override;

private:
    std::vector<std::string> m_lines;
};

} // namespace frame
