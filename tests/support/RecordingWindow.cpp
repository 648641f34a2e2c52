#include "support/RecordingWindow.h"
#include <algorithm>

namespace testing_support {

bool RecordingWindow::isChecked(game::MenuItem item) const
{
    auto it = checked.find(item);
    return it != checked.end() && it->second;
}

bool RecordingWindow::isEnabled(game::MenuItem item) const
{
    auto it = enabled.find(item);
    return it == enabled.end() || it->second;
}

void RecordingWindow::ShowMessage(const std::string& text, game::MessageIcon icon)
{
    messages.push_back({text, icon});
    if (onMessage)
        onMessage(messages.back());
}

void RecordingWindow::ShowProgress()
{
    ++progressShows;
    if (onShowProgress)
        onShowProgress();
}

void RecordingWindow::SetProgressRange(int maximum)
{
    progressMaximum = maximum;
    progressPosition = std::min(progressPosition, maximum);
}

void RecordingWindow::SetProgressPosition(int position)
{
    progressPosition = std::clamp(position, 0, progressMaximum);
}

void RecordingWindow::OpenAndPlayTune()
{
    if (tuneFails || tuneFileName.empty())
        throw game::DeviceError("The music device cannot be opened.");
    ++tunePlays;
}

void RecordingWindow::StopTune()
{
    if (tuneFails || tuneFileName.empty())
        throw game::DeviceError("The music device is not open.");
    ++tuneStops;
}

} // namespace testing_support
