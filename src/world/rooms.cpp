#include "world/rooms.h"

const char* const FloorNames[6] = {
    "SCHWIMMBAD", "SPORTHALLE", "MUSIK UND KUNST", "NATURWISSENSCHAFTEN", "SCHULHOF UND MENSA",
    "HAUPTEINGANG",
};

// Inclusive tile rectangles; the first match in this order wins.
const RoomTableData RoomTable = {
    // floor
    {0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1,
     1, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 3, 3, 3,
     3, 3, 3, 3, 3, 3, 3, 4, 4, 4, 4, 4, 5, 5,
     5, 5, 5, 5, 5, 5, 5},
    // x0
    {1, 1, 1, 8, 22, 30, 43, 1, 44, 1, 1, 8, 22, 30,
     43, 1, 18, 31, 44, 1, 1, 8, 22, 30, 43, 1, 18, 31,
     44, 1, 1, 8, 22, 30, 43, 1, 30, 1, 1, 8, 1, 32,
     44, 1, 1, 8, 22, 30, 43},
    // y0
    {1, 13, 18, 18, 18, 18, 18, 1, 1, 13, 18, 18, 18, 18,
     18, 1, 1, 1, 1, 13, 18, 18, 18, 18, 18, 1, 1, 1,
     1, 13, 18, 18, 18, 18, 18, 1, 1, 13, 18, 17, 1, 1,
     1, 13, 18, 18, 18, 18, 18},
    // x1
    {54, 54, 6, 20, 28, 41, 54, 42, 54, 54, 6, 20, 28, 41,
     54, 16, 29, 42, 54, 54, 6, 20, 28, 41, 54, 16, 29, 42,
     54, 54, 6, 20, 28, 41, 54, 28, 54, 54, 6, 54, 30, 42,
     54, 54, 6, 20, 28, 41, 54},
    // y1
    {11, 16, 21, 26, 26, 26, 26, 11, 11, 16, 21, 26, 26, 26,
     26, 11, 11, 11, 11, 16, 21, 26, 26, 26, 26, 11, 11, 11,
     11, 16, 21, 26, 26, 26, 26, 12, 11, 16, 21, 26, 11, 11,
     11, 16, 21, 26, 26, 26, 26},
    // name
    {
        // floor 0
        "SCHWIMMHALLE", "FLUR", "TREPPENHAUS", "UMKLEIDE JUNGEN", "DUSCHEN", "UMKLEIDE MÄDCHEN",
        "BADEMEISTER",
        // floor 1
        "SPORTHALLE", "GERÄTERAUM", "FLUR", "TREPPENHAUS", "UMKLEIDE JUNGEN", "DUSCHEN",
        "UMKLEIDE MÄDCHEN", "SPORTLEHRER",
        // floor 2
        "MUSIKRAUM 1", "MUSIKRAUM 2", "KUNSTRAUM", "BANDRAUM", "FLUR", "TREPPENHAUS",
        "INSTRUMENTENLAGER", "TOILETTEN", "CHORRAUM", "MUSIKLEHRER",
        // floor 3
        "CHEMIERAUM", "BIOLOGIE", "KLASSE 7B", "KLASSE 8A", "FLUR", "TREPPENHAUS", "LEHRERZIMMER",
        "TOILETTEN", "KLASSE 6A", "LAGER",
        // floor 4
        "SCHULHOF", "MENSA", "SCHULHOF", "TREPPENHAUS", "SPORTPLATZ",
        // floor 5
        "EINGANGSHALLE", "SEKRETARIAT", "DIREKTOR", "FLUR", "TREPPENHAUS", "HAUSMEISTER",
        "TOILETTEN", "KONFERENZRAUM", "ARCHIV",
    },
};

const Label LabelTable[LABEL_COUNT] = {
    {0, 425, 199, "GESPERRT", 6, 11},
    {0, 130, 277, "JUNGEN", 6, 2},
    {0, 356, 277, "DUSCHE", 6, 2},
    {0, 482, 277, "MÄDCHEN", 6, 2},
    {0, 790, 277, "BADEMEISTER", 6, 2},
    {0, 392, 20, "SCHWIMMHALLE", 2, -1},
    {1, 226, 197, "SPORTHALLE", 6, 2},
    {1, 818, 197, "GERÄTE", 6, 2},
    {1, 130, 277, "JUNGEN", 6, 2},
    {1, 356, 277, "DUSCHE", 6, 2},
    {1, 482, 277, "MÄDCHEN", 6, 2},
    {1, 790, 277, "SPORT", 6, 2},
    {2, 70, 197, "MUSIK 1", 6, 2},
    {2, 322, 197, "MUS.2", 6, 2},
    {2, 550, 197, "KUNST", 6, 2},
    {2, 755, 197, "BAND", 6, 2},
    {2, 132, 277, "LAGER", 6, 2},
    {2, 360, 277, "WC", 6, 2},
    {2, 484, 277, "CHOR", 6, 2},
    {2, 790, 277, "LEHRER", 6, 2},
    {3, 68, 197, "CHEMIE", 6, 2},
    {3, 327, 197, "BIO", 6, 2},
    {3, 436, 197, "ST. IVRA SCHULE", 15, 11},
    {3, 550, 197, "7B", 6, 2},
    {3, 755, 197, "8A", 6, 2},
    {3, 130, 277, "LEHRER", 6, 2},
    {3, 360, 277, "WC", 6, 2},
    {3, 484, 277, "6A", 6, 2},
    {3, 790, 277, "LAGER", 6, 2},
    {3, 105, 5, "LAUF.", 5, -1},
    {3, 361, 5, "ZELLE", 5, -1},
    {3, 560, 5, "HA: S.42", 5, -1},
    {3, 777, 5, "MATHE", 5, -1},
    {4, 662, 197, "MENSA", 6, 2},
    {4, 478, 436, "TOR ZU", 12, 1},
    {5, 236, 19, "AUSGANG", 6, 14},
    {5, 612, 197, "SEKRETARIAT", 6, 2},
    {5, 812, 197, "DIREKTOR", 6, 2},
    {5, 230, 277, "HAUSMEISTER", 6, 2},
    {5, 360, 277, "WC", 6, 2},
    {5, 580, 277, "KONFERENZ", 6, 2},
    {5, 790, 277, "ARCHIV", 6, 2},
    {5, 22, 290, "GESPERRT", 12, 1},
    {1, 594, 197, "STROM", 15, 1},
};

int32_t room_at(int32_t floor, int32_t column, int32_t row) {
    for (int i = 0; i < ROOM_COUNT; ++i) {
        if (RoomTable.floor[i] == floor && RoomTable.x0[i] <= column && column <= RoomTable.x1[i] &&
            RoomTable.y0[i] <= row && row <= RoomTable.y1[i]) {
            return i;
        }
    }
    return -1;
}
