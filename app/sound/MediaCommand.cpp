#include "MediaCommand.h"

#include <charconv>
#include <vector>

#include "Text.h"

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::vector<std::string> SplitWords(const std::string& text) {
    std::vector<std::string> words;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && IsBlank(text[i]))
            ++i;
        const std::size_t start = i;
        while (i < text.size() && !IsBlank(text[i]))
            ++i;
        if (i > start) words.push_back(text.substr(start, i - start));
    }
    return words;
}

// Takes the last word off the end of text[0, end); returns it and moves end to the blank
// before it. Empty when nothing is left.
std::string TakeLastWord(const std::string& text, std::size_t& end) {
    while (end > 0 && IsBlank(text[end - 1]))
        --end;
    const std::size_t stop = end;
    while (end > 0 && !IsBlank(text[end - 1]))
        --end;
    return text.substr(end, stop - end);
}

// "OPEN <path> TYPE <type> ALIAS <alias>", read from both ends so the path keeps its spaces.
TMediaCommand ParseOpen(const std::string& command) {
    TMediaCommand result;
    std::size_t begin = 0;
    while (begin < command.size() && IsBlank(command[begin]))
        ++begin;
    begin += 4; // "OPEN"
    if (begin >= command.size() || !IsBlank(command[begin])) return result;
    while (begin < command.size() && IsBlank(command[begin]))
        ++begin;

    std::size_t end = command.size();
    const std::string alias = TakeLastWord(command, end);
    const std::string aliasWord = TakeLastWord(command, end);
    const std::string type = TakeLastWord(command, end);
    const std::string typeWord = TakeLastWord(command, end);
    if (!EqualIgnoringCase(aliasWord, "ALIAS") || !EqualIgnoringCase(typeWord, "TYPE") || alias.empty() ||
        type.empty())
        return result;
    while (end > begin && IsBlank(command[end - 1]))
        --end;
    if (end <= begin) return result;

    result.Verb = TMediaCommand::TVerb::Open;
    result.Path = command.substr(begin, end - begin);
    result.Type = type;
    result.Alias = alias;
    return result;
}

TMediaCommand ParsePlay(const std::vector<std::string>& words) {
    TMediaCommand result;
    if (words.size() != 2 && words.size() != 4) return result;
    if (words.size() == 4) {
        if (!EqualIgnoringCase(words[2], "FROM")) return result;
        const std::string& number = words[3];
        const auto [rest, error] =
            std::from_chars(number.data(), number.data() + number.size(), result.From);
        if (error != std::errc() || rest != number.data() + number.size() || result.From < 0)
            return result;
        result.HasFrom = true;
    }
    result.Verb = TMediaCommand::TVerb::Play;
    result.Alias = words[1];
    return result;
}

} // namespace

TMediaCommand ParseMediaCommand(const std::string& command) {
    const std::vector<std::string> words = SplitWords(command);
    TMediaCommand result;
    if (words.empty()) return result;
    if (EqualIgnoringCase(words[0], "OPEN")) return ParseOpen(command);
    if (EqualIgnoringCase(words[0], "PLAY")) return ParsePlay(words);
    if (words.size() != 2) return result;
    if (EqualIgnoringCase(words[0], "STOP"))
        result.Verb = TMediaCommand::TVerb::Stop;
    else if (EqualIgnoringCase(words[0], "CLOSE"))
        result.Verb = TMediaCommand::TVerb::Close;
    else
        return result;
    result.Alias = words[1];
    return result;
}

bool TMediaInterpreter::Names(const std::string& alias) const {
    return IsOpen() && EqualIgnoringCase(alias, OpenAlias);
}

bool TMediaInterpreter::Open(const TMediaCommand& command) {
    // The one sequencer is taken while any alias holds it: the open piece stays as it is.
    if (IsOpen() || !EqualIgnoringCase(command.Type, "SEQUENCER")) return false;
    if (!Player.Load(command.Path)) return false;
    OpenAlias = command.Alias;
    return true;
}

bool TMediaInterpreter::Send(const std::string& text) {
    const TMediaCommand command = ParseMediaCommand(text);
    switch (command.Verb) {
    case TMediaCommand::TVerb::Open:
        return Open(command);
    case TMediaCommand::TVerb::Play:
        // Only the beginning can be sought in a MIDI piece; PLAY without FROM starts there too.
        if (!Names(command.Alias) || (command.HasFrom && command.From != 0)) return false;
        Player.PlayFromStart();
        return true;
    case TMediaCommand::TVerb::Stop:
        if (!Names(command.Alias)) return false;
        Player.Stop();
        return true;
    case TMediaCommand::TVerb::Close:
        if (!Names(command.Alias)) return false;
        Player.Stop();
        Player.Unload();
        OpenAlias.clear();
        return true;
    case TMediaCommand::TVerb::Unknown:
        break;
    }
    return false;
}
