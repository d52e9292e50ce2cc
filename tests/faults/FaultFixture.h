#pragma once
// The whole program under faults: damage what it reads or block what it writes, then
// check what the user is told and what is left on disk.

#include "FileSizeLimit.h"
#include "app/AppFixture.h"

#include <QDir>
#include <QFileInfo>

class FaultTest : public AppFixture {
protected:
    // What the user does to leave: the window's close, then its destruction.
    void Exit()
    {
        if (window)
            window->close();
        window.reset();
    }
    // Every message sent must be a well-formed channel message: a status byte from 0x80
    // to 0xEF and data bytes below 0x80, or a port would read it as something else.
    ::testing::AssertionResult AllMessagesWellFormed() const
    {
        for (const quint32 message : midi.messages) {
            const quint32 status = message & 0xFF;
            if (status < 0x80 || status > 0xEF || ((message >> 8) & 0xFF) > 0x7F || ((message >> 16) & 0xFF) > 0x7F
                || (message >> 24) != 0)
                return ::testing::AssertionFailure() << "malformed MIDI message 0x" << std::hex << message;
        }
        return ::testing::AssertionSuccess();
    }
    bool HasMessageNaming(const QString& path) const
    {
        return std::any_of(recorder.shown.begin(), recorder.shown.end(),
                           [&path](const auto& shown) { return shown.text.contains(path); });
    }
};
