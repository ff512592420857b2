// The game's messages: every text it shows, each with the key of the
// recording that speaks it. One table; the recordings are generated from it.
#pragma once

#include <string>

enum GameText : int {
    // rooms
    TXT_ROOM_CELL,
    TXT_ROOM_CORRIDOR,
    TXT_ROOM_DINING_HALL,
    TXT_ROOM_INFIRMARY,
    TXT_ROOM_STOREROOM,
    TXT_ROOM_GARDEN,
    TXT_ROOM_LIBRARY,
    TXT_ROOM_VISITING_HALL,
    TXT_ROOM_KITCHEN,
    TXT_ROOM_CHAPEL,
    TXT_ROOM_TUNNEL,
    TXT_ROOM_COLD_ROOM,
    TXT_ROOM_OFFICE,
    TXT_ROOM_PASSAGE,
    TXT_ROOM_YARD,
    TXT_ROOM_WORKSHOP,
    TXT_ROOM_RIVER,
    TXT_ROOM_EAST_TOWER,
    TXT_ROOM_PUNISHMENT_CELL,
    TXT_ROOM_LAUNDRY,
    TXT_ROOM_SOUTH_TOWER,
    TXT_ROOM_GATE,
    TXT_LOCKED_IN,
    TXT_TUNNEL_BLOCKED,
    TXT_SEARCHLIGHTS,
    TXT_YARD_SHOT,
    TXT_DETECTOR,
    TXT_PADLOCK,
    TXT_ALARM_SOUNDS,
    TXT_ALARM_STOPPED,
    TXT_EXITS,
    TXT_NORTH,
    TXT_SOUTH,
    TXT_EAST,
    TXT_WEST,
    TXT_WALL,
    // command input
    TXT_PROMPT,
    TXT_DONT_KNOW,
    TXT_ASK_HINTS,
    TXT_EXAMPLES,
    // objects: descriptions, then names, in object order
    TXT_DESC_SPOON,
    TXT_DESC_SHEET,
    TXT_DESC_LADDER,
    TXT_DESC_SAW,
    TXT_DESC_BOOK,
    TXT_DESC_CRUCIFIX,
    TXT_DESC_ROPE,
    TXT_DESC_BONE,
    TXT_DESC_UNIFORM,
    TXT_DESC_COIN,
    TXT_DESC_PENKNIFE,
    TXT_DESC_LANTERN,
    TXT_DESC_KEY,
    TXT_DESC_GUARD,
    TXT_NAME_SPOON,
    TXT_NAME_SHEET,
    TXT_NAME_LADDER,
    TXT_NAME_SAW,
    TXT_NAME_BOOK,
    TXT_NAME_CRUCIFIX,
    TXT_NAME_ROPE,
    TXT_NAME_BONE,
    TXT_NAME_UNIFORM,
    TXT_NAME_COIN,
    TXT_NAME_PENKNIFE,
    TXT_NAME_LANTERN,
    TXT_NAME_KEY,
    TXT_NAME_GUARD,
    // taking, dropping, listing
    TXT_WHAT,
    TXT_WHAT_AFTER_VERB,
    TXT_WHAT_LOWER,
    TXT_ALREADY_TAKEN,
    TXT_NOT_HERE,
    TXT_TOO_MANY,
    TXT_BOOK_TOO_HIGH,
    TXT_LUCKY_LADDER,
    TXT_OK,
    TXT_CANNOT,
    TXT_NOT_CARRIED,
    TXT_NOT_CARRIED_PLAIN,
    TXT_CARRYING_NOTHING,
    TXT_CARRYING,
    // special actions
    TXT_SAW_VERB,
    TXT_NO_SAW,
    TXT_WHERE,
    TXT_STUCK,
    TXT_NO_SPOON,
    TXT_TOO_HEAVY_TO_SWIM,
    TXT_FOUND_COIN,
    TXT_SWALLOWED,
    TXT_LOST_COIN,
    TXT_LOST_BOOK,
    TXT_LOST_CRUCIFIX,
    TXT_DOES_NOT_LIGHT,
    TXT_ALREADY_LIT,
    TXT_DOES_NOT_GO_OUT,
    TXT_ALREADY_OUT,
    TXT_CANNOT_DO_THAT,
    TXT_WITH_WHAT,
    TXT_DOGS,
    TXT_KILLED_GUARD,
    TXT_WHOM,
    TXT_NO_WEAPON,
    TXT_GUARD_GAVE_ALARM,
    TXT_GIVE_UP,
    TXT_HELP_HEAVY,
    TXT_HELP_CONSPICUOUS,
    TXT_HELP_NO_LANTERN,
    TXT_HELP_NONE,
    TXT_HELP_ALARM,
    // hazards
    TXT_UNIFORM_FOOLS,
    TXT_BRIBE,
    TXT_ARRESTED,
    TXT_GUARD_APPEARS,
    TXT_COLD_DARK,
    TXT_SHEET_HELPS,
    TXT_TEMPERATURE,
    TXT_DEGREES,
    TXT_FROZEN,
    TXT_CONFUSED,
    TXT_SPINNING,
    // introduction and endings
    TXT_TITLE,
    TXT_TITLE_RULE,
    TXT_STORY,
    TXT_CONGRATULATIONS,
    TXT_WORTH_BOOK,
    TXT_WORTH_CRUCIFIX,
    TXT_WORTH_COIN,
    TXT_ENJOY_FREEDOM,
    TXT_CRIME,
    TXT_FAILED,
    TXT_COUNT
};

struct GameTextEntry {
    const char* key;     // recording key; "" for a text that has no recording
    std::string text;    // Latin-1; lines are separated by '\n'
    std::string spoken;  // Latin-1; what the recording says when it differs from the text, else ""
};

// The alarm's siren, heard after every room description while the alarm
// sounds: a computed sound (tools/make_siren.sh), not a spoken text, so it
// has no entry in the table.
constexpr const char* GAME_SIREN_KEY = "SIRENE";

// The entry of a text; the table is converted to Latin-1 on first use.
const GameTextEntry& game_text_entry(GameText id);
const std::string& game_text(GameText id);
const char* game_text_key(GameText id);
