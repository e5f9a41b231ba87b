// Finds the place a message names and offers it as a button.
#include "host/sourceview/go_to_message.h"

#include "host/sourceview/source_view.h"
#include "host/sourceview/text_place.h"

namespace host {

MessageButton showOfferingGoTo(MessageBoxService& messages, QWidget* parent, MessageRequest request,
                               SourceView* view) {
    const auto place = view ? placeNamedIn(request.text) : std::nullopt;
    if (place) {
        request.buttons.insert(request.buttons.begin(), MessageButton::GoTo);
        request.goToText = QObject::tr("&Go to Line %1").arg(place->line);
    }
    const MessageButton chosen = messages.show(parent, request);
    if (place && chosen == MessageButton::GoTo) view->goTo(*place);
    return chosen;
}

}  // namespace host
