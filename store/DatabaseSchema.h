#pragma once

class MessagePresenter;

// Creates the database file's schema or brings an older file up to the current version.
class DatabaseSchema
{
public:
    // Runs on the default connection. Failing statements are skipped on purpose: the
    // history relies on it (for example "add column" on a freshly created table).
    // messages: where the two boxes of a creation or an upgrade go.
    static void createOrUpgrade(bool fileExisted, MessagePresenter &messages);
};
