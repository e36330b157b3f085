#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class CGraphFrame;

// The Graphics menu's display commands and the property sheets of displays.
namespace graphfactory {

struct DisplayCommand {
    unsigned commandId;
    const char* prompt; // status text, newline, title
    int displayType;
};
// Every display command the Graphics menu offers, in the menu's order.
const std::vector<DisplayCommand>& DisplayCommands();
const DisplayCommand* FindCommand(unsigned commandId);
// The title after the prompt's newline.
std::string TitleOf(const DisplayCommand& command);

// A display family registers the maker of its frame class under the class's
// name and the command that makes it (displays::FrameRegistration); a later
// registration of the command replaces the earlier one.
using FrameMaker = std::function<std::unique_ptr<CGraphFrame>()>;
void RegisterFrameMaker(const std::string& frameClass, unsigned commandId, FrameMaker maker);
// The class a command makes; empty while no family has registered it.
std::string FrameClassOf(unsigned commandId);

// The pages a display sheet can show; a family registers the maker of each of
// its pages by page id with the sheet.
struct PageInfo {
    int pageId; // the caption's string id
    const char* caption;
    int dialogId;
};
const std::vector<PageInfo>& PageTable();
const PageInfo* FindPage(int pageId);

struct SheetInfo {
    int displayType;
    std::vector<int> pages; // page ids in tab order
    unsigned captionId;
};
const SheetInfo* FindSheet(int displayType);

} // namespace graphfactory

// A new display for a Graphics menu command, titled, without its window; null
// (after "This graph is currently not implemented.") for any other command or
// a display not built yet.
std::unique_ptr<CGraphFrame> CreateGraphFrame(unsigned commandId);

// The property sheet of a display, as the pages library runs it.
class IGraphSheetRunner {
public:
    virtual ~IGraphSheetRunner() = default;
    // Runs the sheet modally on startPage; false on Cancel. activePage is the
    // page that was active when the sheet closed.
    virtual bool Run(CGraphFrame& frame, const std::vector<int>& pageIds, unsigned captionId,
                     int startPage, int& activePage) = 0;
    // The Page Properties sheet of a graphics page: its colour and tab name.
    virtual bool RunPageProperties(std::uint32_t& color, std::string& name) = 0;
};
IGraphSheetRunner* GraphSheetRunner();
void SetGraphSheetRunner(IGraphSheetRunner* runner);

// A display's EditProperties: its sheet opened on the page it was left on;
// after OK that page is remembered, after Cancel the one before stays.
bool EditGraphProperties(CGraphFrame& frame, const std::vector<int>& pageIds, unsigned captionId);
