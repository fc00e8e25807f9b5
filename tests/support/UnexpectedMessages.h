#pragma once

#include "tests/support/MessageRecorder.h"

// Installed by the test main for the whole executable. A test that expects a message box
// installs its own MessageRecorder; any other box is a defect and fails the test function
// it appeared in. The box is still answered, with its first button, so nothing blocks.
class UnexpectedMessages : public MessageRecorder
{
public:
    QMessageBox::StandardButton present(const MessageRequest &request) override;

    // Boxes that appeared while no test function ran, so that no test could fail for them.
    int outsideTests() const { return m_outsideTests; }

private:
    int m_outsideTests = 0;
};
