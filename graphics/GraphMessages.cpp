#include "graphics/GraphMessages.h"

namespace graphmsg {

#define TVANE_GRAPH_MESSAGE(fn, name)                                                              \
    tvane::MessageId fn() {                                                                        \
        static const tvane::MessageId id = tvane::MessageBus::Register(name);                      \
        return id;                                                                                 \
    }

TVANE_GRAPH_MESSAGE(ObjectSelect, "QMM_ObjectSelect")
TVANE_GRAPH_MESSAGE(SetChannel, "QMM_SetChannel")
TVANE_GRAPH_MESSAGE(RemoveChannel, "QMM_RemoveChannel")
TVANE_GRAPH_MESSAGE(ChannelRequest, "QMM_ChannelRequest")
TVANE_GRAPH_MESSAGE(AsyncEvent, "QMM_AsyncEvent")
TVANE_GRAPH_MESSAGE(PositionEventLog, "QMM_PositionEventLog")
TVANE_GRAPH_MESSAGE(CreateGraph, "QMM_CreateGraph")
TVANE_GRAPH_MESSAGE(TabNameChange, "QMM_TabNameChange")
TVANE_GRAPH_MESSAGE(TabWndColorChange, "QMM_TabWndColorChange")
TVANE_GRAPH_MESSAGE(PageQuerySiblings, "GraphPageQuerySiblings")

#undef TVANE_GRAPH_MESSAGE

} // namespace graphmsg
