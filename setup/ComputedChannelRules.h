#pragma once
#include <string>
#include <vector>

class CCompChnl;

// The rules of the computed channel page without its window: the categories
// and functions with their formulas, the argument titles, and the checks that
// turn the page's choices into a computed channel's definition.
namespace computed {

struct Function {
    const char* name;
    int arguments;
    const char* formula;
    const char* description;
};
struct Category {
    const char* name;
    const char* argument1;
    const char* argument2;
    std::vector<Function> functions;
};
// In list order; the operation code is category index × 10 + function index.
const std::vector<Category>& Categories();
inline constexpr int kStrainCategory = 2;
// Null for a code outside the table.
const Function* FunctionOf(int code);

// Argument kinds of the page's radio buttons.
enum ArgumentKind { kChannel = 0, kConstant = 1 };

// One argument as the page shows it: the selected channel item (empty when
// none) or the constant's text.
struct Argument {
    int kind = kChannel;
    std::string channelItem;
    std::string constantText;
};

// The channel number of a channel item "<%ld>name": the number after the
// leading "<"; 0 when there is none.
long ChannelOfItem(const std::string& item);

// A refusal: its message, the box's title and the argument (1 or 2) whose
// control takes the focus, 0 for none.
struct Refusal {
    std::string message;
    std::string title;
    int focus = 0;
    explicit operator bool() const { return !message.empty(); }
};

// Checks the choice of category and function (-1 for none) with the two
// arguments and completes the record: operation, arguments, and the strain
// constants already in it. ownChannel is the row's channel number, 0 for a new
// computed channel. Constant texts reach here already accepted by their edits.
Refusal Apply(int category, int function, const Argument& arg1, const Argument& arg2,
              long ownChannel, CCompChnl& record);

} // namespace computed
