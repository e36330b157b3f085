#pragma once

// The view update hints of the document. Every view receives them through
// CLoggerDoc::UpdateAllViews with the sender and a payload object.
enum DocumentHint : long {
    HINT_SCAN_STARTING = 2344,  // none
    HINT_NEW_SETUP = 3344,      // none
    HINT_CHANNEL_EDIT = 3345,   // CChannelArray of the edited channels
    HINT_NEW_READINGS = 3346,   // none, or the reload's record
    HINT_NEW_DOCUMENT = 3347,   // none
    HINT_READING = 3349,        // none from the reading path, else CDatasetEvent
    HINT_EVENT = 3350,          // CRunRecord at run start and end, else CDatasetEvent
    HINT_DATASET_LOADED = 3351, // the reload's record
    HINT_ACTION_RESULT = 3352,  // CReadingInfo with the channel's value
    HINT_DATASET_UPDATE = 3353, // the update list
    HINT_SHOW_EVENT = 3354,     // the event's index in the current dataset (std::int32_t)
    HINT_SETUP_CHANGED = 3356,  // none
    HINT_SCAN_STATE = 3357,     // none
    HINT_EVENTS_CHANGED = 3358, // CDatasetEvent: a copy of the deleted event
};
