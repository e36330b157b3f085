#pragma once
#include <cstdint>
#include <string>

// Shown when a typed setup or dataset name holds a control character.
inline constexpr const char* kNameHasControlCharacter =
    "A name cannot hold control characters such as tabs or line breaks.";

// The properties dialog of a setup or dataset (name, last modified, user,
// description) with its title: "Save Setup As", "Save Setup" or "Save Dataset".
struct SavePropertiesFields {
    std::string title;
    std::string name;
    std::string lastModified;
    std::string user;
    std::string note;
    // 1 names a setup, 2 a dataset of setupName; a new name is checked in its own table.
    std::int32_t kind = 1;
    std::string setupName{};
};

class ISaveSetupDialog {
public:
    virtual ~ISaveSetupDialog() = default;
    // Shows the dialog modally; true for OK, with the fields as the user left them.
    virtual bool Run(SavePropertiesFields& fields) = 0;
};

// The choice between keeping the old setup with its datasets (a new setup is
// made) and overwriting it (its datasets go).
struct SaveSetupAsFields {
    // Inputs.
    std::string existingName;
    std::string newName;
    // Inputs and outputs.
    std::string description;
    std::string lastModified;
    std::string user;
    // Outputs after OK: 1 = create a new setup, 0 = overwrite; the new name, or
    // the existing one when overwriting.
    std::int32_t createNew = 1;
    std::string name;
};

class ISaveSetupAsDialog {
public:
    virtual ~ISaveSetupAsDialog() = default;
    // Shows the dialog modally; true for OK.
    virtual bool Run(SaveSetupAsFields& fields) = 0;
};
