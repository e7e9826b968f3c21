#pragma once
#include <windows.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

// Mouse and keyboard input the way the devices deliver it: every event goes through SendInput,
// so it takes the hardware path (cursor position, capture, key state, double clicks) and is
// queued for whichever message loop runs at the time: a modal loop, or a control's own loop
// that tracks the mouse. Nothing here sends a message into a window.
namespace gui {

enum class Button { Left, Right };

// Moves the cursor to a screen point, producing one mouse move.
void moveMouse(POINT screen);
void buttonDown(Button button = Button::Left);
void buttonUp(Button button = Button::Left);
// Moves to the point, then presses and releases the button there.
void clickAt(POINT screen, Button button = Button::Left);
// Clicks a point in the client area of a window, by default its centre.
void click(HWND window, Button button = Button::Left);
void clickClient(HWND window, POINT client, Button button = Button::Left);
POINT clientToScreen(HWND window, POINT client);
POINT centreOf(HWND window);

void keyDown(WORD key);
void keyUp(WORD key);
// Presses and releases a key while the modifier keys are held.
void pressKey(WORD key, std::initializer_list<WORD> modifiers = {});
// Types text character by character (Unicode key events, as an input method delivers them).
void typeText(const std::string& text);

// Plays input one event per timer tick, the way a person's movements arrive over time: the
// loop that runs at the time (the modal loop, or a control tracking the mouse in its own loop)
// handles each event before the next one comes. Returns once all were played and handled.
void play(const std::vector<std::function<void()>>& events, int intervalMs = 30);

// True while this thread has unprocessed input or posted messages.
bool inputPending();
// Runs this thread's messages until nothing is pending and every window has painted, or the
// limit has passed. Only for code outside a modal loop: a modal loop does this itself.
void waitForIdle(int limitMs = 2000);
// Runs this thread's messages until the condition holds or the limit has passed.
bool waitFor(const std::function<bool()>& condition, int limitMs = 3000);

} // namespace gui
