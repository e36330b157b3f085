#pragma once
#include <memory>

#include "graphics/GraphFactory.h"

// What a display family registers from its own folder, so that the framework
// names none of its classes:
// - its frame class under the Graphics menu command that makes it
//   (FrameRegistration, beside the class's IMPLEMENT_SERIAL);
// - the makers of its property pages by page id (PageRegistration of
//   graphics/pages/CGraphSheet.h, in its windows library);
// - the maker of its child windows (Windows<I>::Registration, in its windows
//   library), an interface of the family's own that its model asks for.
// Each registration is an object at namespace scope of a file of the family;
// the families' libraries are linked whole, so every one of them is made when
// the program starts.
namespace displays {

template <class Frame> class FrameRegistration {
public:
    explicit FrameRegistration(unsigned commandId) {
        graphfactory::RegisterFrameMaker(Frame::GetThisClass()->m_lpszClassName, commandId,
                                         [] { return std::make_unique<Frame>(); });
    }
};

// The maker of a family's child windows, by the interface its model reaches
// it through: the windows library installs the program's; a test puts a fake
// in its place for a scope.
template <class Maker> class Windows {
public:
    // Null until a windows library or a test has given one.
    static Maker* Get() { return s_scoped ? s_scoped : s_installed; }

    class Registration {
    public:
        explicit Registration(Maker& maker) { s_installed = &maker; }
    };

    class Scoped {
    public:
        explicit Scoped(Maker* maker) : m_previous(s_scoped) { s_scoped = maker; }
        ~Scoped() { s_scoped = m_previous; }
        Scoped(const Scoped&) = delete;
        Scoped& operator=(const Scoped&) = delete;

    private:
        Maker* m_previous;
    };

private:
    inline static Maker* s_installed = nullptr;
    inline static Maker* s_scoped = nullptr;
};

} // namespace displays
