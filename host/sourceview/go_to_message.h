// Messages that name a line of the page offer to go there.
#pragma once

#include "host/messagebox/message_box_service.h"

namespace host {

class SourceView;

// Shows `request`. When its text names a line ("line 12" or "line 12, column 5") and there
// is a view of the page, the box has a "Go to Line 12" button too; choosing it puts the
// view's cursor at that place. Returns the button chosen.
MessageButton showOfferingGoTo(MessageBoxService& messages, QWidget* parent, MessageRequest request,
                               SourceView* view);

}  // namespace host
