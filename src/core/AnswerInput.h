#pragma once
// How the learner gave an answer: a press on the board with the mouse, a key, or a note
// played into the microphone.

enum class AnswerInput { Mouse, Keyboard, Microphone };
