#pragma once

#include <QString>

// The user's own folders by the XDG base directory rules: the variable's folder when it holds an
// absolute path, otherwise (unset, empty, or relative, which the rules say to ignore) the
// default under the home folder. Read afresh on each call.
QString UserConfigFolder(); // $XDG_CONFIG_HOME, by default ~/.config
QString UserDataFolder();   // $XDG_DATA_HOME, by default ~/.local/share
