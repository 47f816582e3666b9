#pragma once
// The INI engine for project files: the whole file in memory, written back when something changed.

#include "ini/TSectionList.h"

#include <cstdint>
#include <functional>
#include <istream>
#include <ostream>
#include <string>
#include <string_view>

namespace qbm {

// Days since 1899-12-30; the fraction is the time of day.
using TDateTime = double;

class TBigIniFile {
public:
    // Decides between two sections of the same name: true keeps `kept` (the earlier one in the file),
    // false keeps `other`. Either list may be changed, for example to merge lines into the survivor.
    using TDuplicateSectionEvent =
        std::function<bool(const std::string& name, TStrings& kept, TStrings& other)>;

    // Reads the file at once; an empty name keeps the content in memory only.
    explicit TBigIniFile(const std::string& fileName = {});
    // Writes the file back when it changed, but never throws: callers that need to know whether the
    // save worked call UpdateFile first and get its error.
    virtual ~TBigIniFile();
    TBigIniFile(const TBigIniFile&) = delete;
    TBigIniFile& operator=(const TBigIniFile&) = delete;

    virtual void LoadFromFile(const std::string& fileName);
    virtual void Clear();
    virtual void DeleteKey(std::string_view section, std::string_view key);
    virtual void EraseSection(std::string_view section);
    virtual void GetStrings(TStrings& strings) const;
    virtual void SetStrings(const TStrings& strings);
    virtual void FlushFile();
    virtual std::string ReadStringValue(std::string_view section, std::string_view key, std::string_view def);
    virtual int ReadBinaryData(std::string_view section, std::string_view key, std::ostream& stream);
    virtual bool ReadBool(std::string_view section, std::string_view key, bool def);
    virtual TDateTime ReadDate(std::string_view section, std::string_view key, TDateTime def);
    virtual TDateTime ReadDateTime(std::string_view section, std::string_view key, TDateTime def);
    virtual double ReadFloat(std::string_view section, std::string_view key, double def);
    virtual int32_t ReadInteger(std::string_view section, std::string_view key, int32_t def);
    virtual void ReadSection(std::string_view section, TStrings& strings);
    virtual void ReadSections(TStrings& strings) const;
    virtual void ReadSectionValues(std::string_view section, TStrings& strings);
    virtual std::string ReadString(std::string_view section, std::string_view key, std::string_view def);
    virtual TDateTime ReadTime(std::string_view section, std::string_view key, TDateTime def);
    virtual bool SectionExists(std::string_view section);
    virtual void UpdateFile();
    virtual bool ValueExists(std::string_view section, std::string_view key);
    virtual void WriteStringValue(std::string_view section, std::string_view key, std::string_view value);
    virtual void WriteBool(std::string_view section, std::string_view key, bool value);
    virtual void WriteBinaryData(std::string_view section, std::string_view key, std::istream& stream);
    virtual void WriteDate(std::string_view section, std::string_view key, TDateTime value);
    virtual void WriteDateTime(std::string_view section, std::string_view key, TDateTime value);
    virtual void WriteFloat(std::string_view section, std::string_view key, double value);
    virtual void WriteInteger(std::string_view section, std::string_view key, int32_t value);
    virtual void WriteString(std::string_view section, std::string_view key, std::string_view value);
    virtual void WriteTime(std::string_view section, std::string_view key, TDateTime value);

    // Writes the old file if it changed, then loads the new one; the engine is clean afterwards.
    void SetFileName(const std::string& fileName);
    const std::string& FileName() const { return m_fileName; }

    bool Dirty() const { return m_dirty; }
    void SetDirty(bool dirty) { m_dirty = dirty; }
    int TextBufferSize() const { return m_textBufferSize; }
    void SetTextBufferSize(int size) { m_textBufferSize = size; }
    int SectionIndex() const { return m_sectionIndex; }
    void SetOnDuplicateSection(TDuplicateSectionEvent handler) { m_onDuplicateSection = std::move(handler); }

    // Parsing options; this product never sets them, other readers of INI text may.
    bool ClearValuesTarget() const { return m_clearValuesTarget; }
    void SetClearValuesTarget(bool on) { m_clearValuesTarget = on; }
    bool SkipComments() const { return m_skipComments; }
    void SetSkipComments(bool on) { m_skipComments = on; }
    bool KeyLinesOnly() const { return m_keyLinesOnly; }
    void SetKeyLinesOnly(bool on) { m_keyLinesOnly = on; }
    bool TrimAroundEquals() const { return m_trimAroundEquals; }
    void SetTrimAroundEquals(bool on) { m_trimAroundEquals = on; }
    bool StripQuotes() const { return m_stripQuotes; }
    void SetStripQuotes(bool on) { m_stripQuotes = on; }
    bool TrimTrailing() const { return m_trimTrailing; }
    void SetTrimTrailing(bool on) { m_trimTrailing = on; }

    TSectionList& Sections() { return m_sections; }
    const TSectionList& Sections() const { return m_sections; }

protected:
    // The index of Key's first line in Section (-1 when none) and, in `lines`, the section's lines
    // (null when the section is missing and not created).
    int FindKey(std::string_view section, std::string_view key, bool create, TStrings*& lines);
    // Drops every later section whose name repeats an earlier one; true when something was dropped.
    bool MergeDuplicateSections();

private:
    // Adds the sections of `lines` (one entry per line of text) to the content. Returns whether
    // anything was added.
    bool ParseLines(const std::vector<std::string_view>& lines, bool fromFile);
    std::string LayoutText() const;

    bool m_dirty = false;
    int m_textBufferSize = 0x7000;
    TDuplicateSectionEvent m_onDuplicateSection;
    std::string m_fileName;
    int m_sectionIndex = 0;
    bool m_clearValuesTarget = false;
    bool m_skipComments = false;
    bool m_keyLinesOnly = false;
    bool m_trimAroundEquals = false;
    bool m_stripQuotes = false;
    bool m_trimTrailing = false;
    TSectionList m_sections;
};

} // namespace qbm
