#include "ChosenMusic.h"

#include <filesystem>
#include <fstream>

std::string RecordingBeside(const std::string& piece) {
    std::filesystem::path path(piece);
    if (!path.has_filename()) return {};
    path.replace_extension(".ogg");
    if (path.string() == piece) return {};
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return {};
    std::ifstream in(path, std::ios::binary);
    char tag[4] = {};
    if (!in.read(tag, sizeof tag) || std::string(tag, sizeof tag) != "OggS") return {};
    return path.string();
}

bool TChosenMusic::Load(const std::string& path) {
    Unload();
    const std::string recording = RecordingBeside(path);
    FromRecording = !recording.empty();
    return FromRecording ? Recorded.Load(recording, path) : Synthesised.Load(path);
}

void TChosenMusic::PlayFromStart() {
    if (FromRecording)
        Recorded.PlayFromStart();
    else
        Synthesised.PlayFromStart();
}

void TChosenMusic::Stop() {
    if (FromRecording)
        Recorded.Stop();
    else
        Synthesised.Stop();
}

void TChosenMusic::Unload() {
    Recorded.Unload();
    Synthesised.Unload();
}

bool TChosenMusic::ReleaseForExit() {
    const bool recorded = Recorded.ReleaseForExit();
    const bool synthesised = Synthesised.ReleaseForExit();
    return recorded && synthesised;
}

bool TChosenMusic::StillLoading() {
    return FromRecording ? Recorded.StillLoading() : Synthesised.StillLoading();
}
