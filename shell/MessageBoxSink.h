#pragma once

#include "platform/MessageSink.h"

// Shows each error in the standard error box, as the game's own runtime does.
class MessageBoxSink : public MessageSink
{
public:
    void showError(const QString &text) override;
};
