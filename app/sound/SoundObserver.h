#pragma once
// A window into what the system sound device does, for tests: each step is reported as one
// line of text, on the thread that made the call.
//
//   "started <path>"       an effect file began to play
//   "stopped <path>"       a playing effect was cut short by the next one
//   "finished <path>"      a synchronous effect played to its end and the call returns
//   "chime"                the default chime began in place of an unplayable file
//   "music open <path>"    the piece was loaded
//   "music play"           the piece started from its beginning
//   "music stop"           the piece was stopped
//   "no device"            the audio device couldn't be opened; everything stays silent

#include <functional>
#include <string>

using TSoundObserver = std::function<void(const std::string& event)>;

// Replaces the observer; an empty one turns reporting off.
void SetSoundObserver(TSoundObserver observer);

// True while the music's loading thread is at work: the piece, or the fresh copy that the
// next PLAY starts, is still loading.
bool MusicStillLoading();
