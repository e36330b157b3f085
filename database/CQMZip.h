#pragma once
#include <cstdint>
#include <string>

namespace tvane {
class IPrompter;
}

// The program's only access to zip archives: the setup export files and the
// work archives of the transfer dialogs. Paths are plain strings; every
// operation shows its own messages and returns false on failure or when the
// user declines. Members are stored without folders and always extracted under
// their base names into the destination folder, never outside it.
class CQMZip {
public:
    // ZipFiles flag: the files stay (zipping the live storage files of the data
    // folder), or are removed once the archive is complete (zipping copies from
    // a work folder).
    static constexpr int kKeepFiles = 0;
    static constexpr int kRemoveFiles = 1;
    static constexpr unsigned kHelpContext = 13195;

    // Messages go to owner, or to the program's prompter when it is null.
    explicit CQMZip(tvane::IPrompter* owner = nullptr) : m_owner(owner) {}

    // Writes a new archive of the files of itemList (each path in double
    // quotes, separated by blanks). An existing archive is replaced after the
    // user agrees.
    bool ZipFiles(const std::string& archive, const std::string& itemList, int flag);
    // Extracts every member into destination, asking once before overwriting.
    // destination gets a trailing separator when it has none.
    bool UnzipAll(const std::string& archive, std::string& destination);
    // Extracts the member whose file name is that of entry (a full path from an
    // index finds its member), asking before overwriting. destination gets a
    // trailing separator when it has none.
    bool UnzipFile(const std::string& archive, std::string& destination, const std::string& entry);
    // Extracts the member whose file name is that of entry as the file target
    // (the caller's choice of folder and name), at most maxBytes long. Nothing
    // is asked: target is replaced. True only when target is then a regular
    // file; a failure shows its message and leaves no target.
    bool UnzipFileTo(const std::string& archive, const std::string& entry,
                     const std::string& target, std::uint64_t maxBytes);
    // The number of members; false (count 0) when the archive cannot be read.
    bool GetEntryCount(const std::string& archive, int& count);
    // Whether the archive has a member of entry's file name. Shows nothing.
    bool ContainsFile(const std::string& archive, const std::string& entry);

    // Shown in place of an error code for a member above its size limit.
    static constexpr const char* kTooLarge =
        "%s is too large to be imported; it was not extracted.";

    // "Import/Export error <code>.\n" followed by the code's description, if any.
    static void GetZipErrorText(std::string& text, int code);
    static void GetUnzipErrorText(std::string& text, int code);

private:
    int Ask(const std::string& text, const std::string& caption);
    void ShowError(const std::string& text);

    tvane::IPrompter* m_owner;
};
