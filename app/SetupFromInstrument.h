#pragma once
#include <functional>
#include <string>

class CLoggerDoc;
class CUploadDialogModel;
class INewSetupPages;

// The Upload dialog as the new setup from the instrument runs it: true for OK.
class IUploadDialog {
public:
    virtual ~IUploadDialog() = default;
    virtual bool Run(CUploadDialogModel& model) = 0;
};

// What the Upload dialog chose for the upload that builds the new setup's rows.
struct UploadChoices {
    bool includeData = false;
    bool keepScanning = false;
};

// The new setup made from an instrument upload (Upload Setup, and the upload
// choice of the Download Setup Notice): the instrument is checked, the Upload
// dialog asks for the name and the choices, the open setup may be saved, and
// the document builds the new setup from what the instrument holds.
class SetupFromInstrument {
public:
    // defaultName makes a free "Setup" name with the date and time; the
    // choices are read by the document's upload step.
    SetupFromInstrument(CLoggerDoc& doc, IUploadDialog& dialog, UploadChoices& choices,
                        std::function<std::string()> defaultName)
        : m_doc(doc), m_dialog(dialog), m_choices(choices), m_defaultName(std::move(defaultName)) {}

    // The graphics pages a new setup starts with; without them the pages stay
    // as they are.
    void SetPages(INewSetupPages* pages) { m_pages = pages; }
    // Upload Setup: not while scanning, and only from an instrument that is
    // reached through a real interface.
    bool IsEnabled();
    // False when nothing was made (a check failed, the user cancelled, or
    // the setup could not be created).
    bool Run();

private:
    // The instrument answers, has modules the upload can use and a multimeter;
    // slot texts are filled. Shows why not.
    bool CheckInstrument(std::string (&slots)[3]);
    // The open setup's save question: false for Cancel; discard is set when a
    // never-saved setup is not kept.
    bool AskToSave(bool& discard);

    CLoggerDoc& m_doc;
    IUploadDialog& m_dialog;
    UploadChoices& m_choices;
    std::function<std::string()> m_defaultName;
    INewSetupPages* m_pages = nullptr;
};
