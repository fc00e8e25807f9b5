#pragma once

#include <QtGlobal>

// How much each request of the updater may receive and how long it may take. A request
// that passes a limit is aborted and fails with the limit named.
struct TransferLimits
{
    qint64 feedBytes = 1024 * 1024;
    qint64 releaseNotesBytes = 1024 * 1024;
    // For an installer whose length the feed does not announce, and the most an announced
    // length may claim.
    qint64 installerBytes = 512LL * 1024 * 1024;
    // No byte for this long ends any request.
    int idleMs = 30000;
    // The feed and the release notes are small; each must be complete within this time.
    int documentMs = 120000;
};
