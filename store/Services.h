#pragma once

class Clock;
class Environment;
class MessagePresenter;

// What start-up decides once and hands down: where files and servers are, the time, and
// how a message box is shown. Tests hand in their own.
struct Services
{
    const Environment &environment;
    Clock &clock;
    MessagePresenter &messages;
};
