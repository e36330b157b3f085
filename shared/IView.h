#pragma once
#include <typeinfo>

namespace tvane {
class CArchive;
}

// The payload of a view update hint: a pointer that remembers its type, so that a
// receiver can tell the records of one hint number apart (hint 3350 carries a run
// record or an event record) without trusting a cast.
class HintObject {
public:
    HintObject() = default;
    template <class T>
    HintObject(T* object) : m_object(object), m_type(object ? &typeid(T) : nullptr) {}

    bool IsNull() const { return m_object == nullptr; }
    template <class T> bool Is() const { return m_type != nullptr && *m_type == typeid(T); }
    // The object when it is of that very type, else null.
    template <class T> T* As() const { return Is<T>() ? static_cast<T*>(m_object) : nullptr; }

private:
    void* m_object = nullptr;
    const std::type_info* m_type = nullptr;
};

// A view of the document: it is told of every change that it may have to show.
class IView {
public:
    enum Kind { kOtherView = 0, kSetupView = 1, kGraphView = 2, kEventView = 3 };

    virtual ~IView() = default;
    // sender is the view that caused the change, or null for the document itself.
    virtual void OnUpdate(IView* sender, long hint, const HintObject& object) = 0;
    virtual Kind GetKind() const { return kOtherView; }
    // Invalidate and repaint.
    virtual void Refresh() {}
    // The view's own part of the document file (the setup view's layout);
    // none by default.
    virtual void SerializeState(tvane::CArchive&) {}
};
