#pragma once
#include "platform/ui/MessageBus.h"

// The registered messages of the graphics pages, each registered once.
namespace graphmsg {
tvane::MessageId ObjectSelect();
tvane::MessageId SetChannel();
tvane::MessageId RemoveChannel();
tvane::MessageId ChannelRequest();
tvane::MessageId AsyncEvent();
tvane::MessageId PositionEventLog(); // data: the CDatasetEvent sought
tvane::MessageId CreateGraph();
tvane::MessageId TabNameChange();
tvane::MessageId TabWndColorChange();
tvane::MessageId PageQuerySiblings(); // "GraphPageQuerySiblings"
} // namespace graphmsg
