#pragma once

#include "store/MessagePresenter.h"

// Shows a real modal message box.
class QtMessagePresenter : public MessagePresenter
{
public:
    Button present(const MessageRequest &request) override;
};
