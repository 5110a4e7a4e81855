// The six floors of the school, 28 rows of 56 tile codes each (row 0 at
// the top). A row that occurs more than once is stored once and shared.
#include "world/floors.h"

namespace {

constexpr char PoolSurround[] = "#tttttttttttttttttttttttttttttttttttttttttttttttttttttt#";
constexpr char PoolWater[] = "#tt~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~tt#";
constexpr char CorridorVending[] = "#.....................................................V#";
constexpr char CorridorEmpty[] = "#......................................................#";
constexpr char CorridorLockersWide[] = "#...LLL......LLL........................LLL.......LLL..#";
constexpr char SignWallDoors[] = "##..zz######D############D########D############D########";
constexpr char SolidWall[] = "########################################################";
constexpr char GymAndStore[] = "#ffffffffffffffffffffffffffffffffffffffffff#...........#";
constexpr char MusicRoomsAisle[] = "#,,,,,,,,,,,,,,,,#,,,,,,,,,,,,#,,,,,,,,,,,,#,,,,,,,,,,,#";
constexpr char MusicRoomsDesks[] = "#,T,T,T,T,T,T,,,,#,T,T,T,T,T,,#,TT,TT,TT,TT#,,,,,,,,,,,#";
constexpr char UpperDoorWall[] = "###D####n#####D####D##n###D######D###n##D#####D##n##D###";
constexpr char CorridorLockersTop[] = "#....LLL..LLL...LL.....LL...LLLL...LL.....LLL........LL#";
constexpr char CorridorLockersBottom[] = "#...LLL......LLL.....LL...............LL.....LL.....LLL#";
constexpr char StoreToiletsChoirDesks[] = "########.............#ttttttt#,T,T,T,T,T,,#,,,,,,,,,,,,#";
constexpr char LabAndClassDesks[] = "#cccccccccccccccc#,TT,TT,TT,TT#,TT,TT,TT,TT#,TT,TT,TT,,#";
constexpr char LabBenches[] = "#cBBBBScccSBBBBcc#,,,,,,,,,,,,#,,,,,,,,,,,,#,,,,,,,,,,,#";
constexpr char YardGrassCafeteria[] = "F;;;;;;;;;;;;;;;;;;;;;;;;;;;;#ccccccccccccccccccccccccc#";
constexpr char YardCafeteriaTables[] = "F____________________________#cTTTTcTTTTcTTTTcTTTTcTTTc#";
constexpr char YardStripsCafeteria[] = "F;;;;____;;;;____;;;;____;;;;#ccccccccccccccccccccccccc#";
constexpr char YardOpen[] = "F______________________________________________________F";
constexpr char StairsBesideTrack[] = "#^....v#;;____________________________________;;;;;;;;;F";
constexpr char GrassBesideTrack[] = "F;;;;;;;;;____________________________________;;;;;;;;;F";
constexpr char HallAndOffices[] = "#hhhhhhhhhhhhhhhhhhhhhhhhhhhhhh#,,,,,,,,,,,#,,,,,,,,,,,#";
constexpr char StoreToiletsConference[] = "########.............#ttttttt#,,,,,,,,,,,,#............#";

}  // namespace

const char* const FloorMaps[FLOOR_COUNT][MAP_H] = {
    // Floor 0: swimming hall; changing rooms, showers, pool attendant
    {
        "##w####w####w####w####w####w####w####w####w####w####w###",
        PoolSurround,
        PoolWater,
        PoolWater,
        PoolWater,
        PoolWater,
        PoolWater,
        PoolWater,
        PoolWater,
        PoolWater,
        PoolSurround,
        "#tNNttttttttttttttttttttttttttttttttttttttttttttttttNNt#",
        "##qqqq##qqqq##qqqq##qqqq###XX###qqqq##qqqq##qqqq##qqqq##",
        "#........NN............................NN..............#",
        CorridorVending,
        CorridorEmpty,
        CorridorLockersWide,
        SignWallDoors,
        "#......#LLLLttttLLLLL#ttttttt#LLLLttttLLLL#............#",
        "#^.....#ttttttttttttt#ttttttt#tttttttttttt#R..TTT....RR#",
        "#^.....#tNNNNtttNNNNt#ttttttt#tNNNNttNNNNt#............#",
        "#^.....#tttttttttttttDtttttttDtttttttttttt#oo........oo#",
        "########tNNNNtttNNNNt#ttttttt#tNNNNttNNNNt#oo........oo#",
        "########ttttttttttttt#ttttttt#ttttttttttttD............#",
        "########LLLttttttKLLL#ttttttt#LLLttttttLLL#....K.......#",
        "########ttttttttttttt#ttttttt#tttttttttttt#............#",
        "########LLLLLLLLLLLLL#S#S#S#S#LLLLLLLLLLLL#RRR......LLL#",
        SolidWall,
    },
    // Floor 1: gym, equipment room; changing rooms, showers, sports teacher
    {
        "####yyyyyyy##w###w###j###w###w##yyyyyyy#######w####w####",
        "#ffffffffffffffffffffffffffffffffffffffffff#oo.oo.oo.oo#",
        "#fmmmmfffffffffffffffffffffffffffffffffmmmm#...........#",
        "#fmmmmfffffffffffffffffffffffffffffffffmmmm#mmm....mmm.#",
        GymAndStore,
        "#ffffffffffffffffffffffffffffffffffffffffff#ooo....ooo.#",
        "#ffffffffffffffffffffffffffffffffffffffffffD...........#",
        "#ffffffffffffffffffffffffffffffffffffffffff#....K......#",
        GymAndStore,
        "#ffffffffffffffffffffffffffffffffffffffffff#RRR....RRR.#",
        "#fNNNNffffffffffffffffffffffffffffffffNNNNf#...........#",
        "#ffffffffffffffffffffffffffffffffffffffffff#L........LL#",
        "##########DD########n##########DD###u#############D#####",
        "#..............LLLL.....LLLL...........................#",
        CorridorVending,
        CorridorEmpty,
        CorridorLockersWide,
        SignWallDoors,
        "#......#LLLLttttLLLLL#ttttttt#LLLLttttLLLL#,,,,,,,,,,,,#",
        "#^....v#ttttttttttttt#ttttttt#tttttttttttt#R,,TTT,,,,RR#",
        "#^....v#tNNNNtttNNNNt#ttttttt#tNNNNttNNNNt#,,,,,,,,,,,,#",
        "#^....v#tttttttttttttDtttttttDtttttttttttt#,,,,,,,,,,,,#",
        "########tNNNNtttNNNNt#ttttttt#tNNNNttNNNNt#oo,,,,,,,,oo#",
        "########ttttttttttttt#ttttttt#ttttttttttttD,,,,,,,,,,,,#",
        "########LLLttttttKLLL#ttttttt#LLLttttttLLL#,,,,,,,,,,K,#",
        "########ttttttttttttt#ttttttt#tttttttttttt#,,,,,,,,,,,,#",
        "########LLLLLLLLLLLLL#S#S#S#S#LLLLLLLLLLLL#RRR,,,,,,LLL#",
        SolidWall,
    },
    // Floor 2: music rooms, art room, band room; instrument store, toilets, choir, music teacher
    {
        "##w##bbbbb##n#w####w#bbbbb##w###w#bbbbb##w###w#n#w#n#w##",
        MusicRoomsAisle,
        "#MM,,,,,,,,,,,,MM#QQ,,,,,,,,MM#J,J,J,,J,J,J#QQ,,,,,,,MM#",
        MusicRoomsAisle,
        MusicRoomsDesks,
        "#,,,,,,,,,,,,,,,,#,,,,,,,,,,,,#,,,,,,,,,,,,#oo,,,,,,,oo#",
        MusicRoomsDesks,
        MusicRoomsAisle,
        "#,T,T,T,T,T,T,,,,#,,,,,,,,,,,,#J,J,,,,,,J,J#,,,,,,,,,,,#",
        "#,,,,,,,,,,,,,,,,#O,,,,,,,,,,O#,,,,,,,,,,,,#O,,,,,,,,,O#",
        "#,,,,,,,,,,,,K,,,#,,,,,,,,,,,,#,,,,,,,,,,K,#,,,,,,,,,,,#",
        "#RR,,,,,,,,,,,,O,#R,,,,,,,,,,R#RR,,,,,,,,,R#,,,,,,,,,,,#",
        UpperDoorWall,
        CorridorLockersTop,
        CorridorVending,
        CorridorEmpty,
        CorridorLockersBottom,
        SignWallDoors,
        "#......#RRRR....RRRRR#ttttttt#,,,,,,,,,,,,#,,,,,,,,,,,,#",
        "#^....v#.............#SSttttt#O,,,,MM,,,,O#R,,TTT,,,,RR#",
        "#^....v#MM...QQ...MM.Dttttttt#,,,,,,,,,,,,#,,,,,,,,,,,,#",
        "#^....v#.............#ttttttt#,T,T,T,T,T,,#,,,,,,,,,,,,#",
        "########RRR.......RRR#ttttttt#,,,,,,,,,,,,D,,,,,,,,,,,,#",
        StoreToiletsChoirDesks,
        "########....K........#ttttttt#,,,,,,,,,,,,#,,,,,,K,,,,,#",
        StoreToiletsChoirDesks,
        "########LLL.......LLL#U#U#U#U#RR,,,,,,,,,R#RRR,,,,,,LLL#",
        SolidWall,
    },
    // Floor 3: chemistry, biology, classes 7B and 8A; staff room, toilets, class 6A, store
    {
        "##w##bbbbb##p#w####w#bbbbb##w###w#bbbbb##w###w#bbbbb#w##",
        "#cccccccccccccccc#,,,,,,,,,,,,#,,,,,,,,,,,,#,,,,,,,,,,,#",
        "#GccccccHccccccGc#Z,,,TTT,,,,O#O,,,TTT,,,,O#O,,,TTT,,,O#",
        "#cccccTTTTTcccccc#,,,,,,,,,,,,#,,,,,,,,,,,,#,,,,,,,,,,,#",
        LabAndClassDesks,
        LabBenches,
        LabAndClassDesks,
        LabBenches,
        LabAndClassDesks,
        "#cBBBBScccSBBBBcc#,,,,,,,,,,,,#,,,,,,,,,,,,#,,,,,,,,,K,#",
        "#ccccccccccccPccc#R,,,,,,,,,KR#,,,,,,,,,,,,#,,,,,,,,,,,#",
        "#RRccccccccccccOc#R,,,,,,,,,,R#RR,,,,,,,,,R#RR,,,,,,,,R#",
        UpperDoorWall,
        CorridorLockersTop,
        CorridorVending,
        CorridorEmpty,
        CorridorLockersBottom,
        SignWallDoors,
        "#......#,,,,,,,,,,,,,#ttttttt#,,,,,,,,,,,,#............#",
        "#^....v#R,,,,,,,,,,,R#SSttttt#O,,,TTT,,,,O#RRR.RRR.RRR.#",
        "#^....v#,,TTTTTTTTT,,Dttttttt#,,,,,,,,,,,,#............#",
        "#^....v#,,TTTTTTTTT,,#ttttttt#,TT,TT,TT,TT#RRR.RRR.RRR.#",
        "########,,,,,,,,,,,,,#ttttttt#,,,,,,,,,,,,D............#",
        "########,,,,,,,,,,,,,#ttttttt#,TT,TT,TT,TT#.K..........#",
        "########RR,,,,,,,K,RR#ttttttt#,,,,,,,,,,,,#RRR.RRR.RRR.#",
        "########,,,,,,,,,,,,,#ttttttt#,TT,TT,TT,TT#............#",
        "########O,,,,,,,,,,,O#U#U#U#U#RR,,,,,,,,,R#L..........L#",
        SolidWall,
    },
    // Floor 4: schoolyard and cafeteria; sports ground
    {
        "FFFFFFFFFFFFFFFFFFFFFFFFFFFFF#w###w###w###w###w###w#####",
        YardGrassCafeteria,
        "F;;Y;;;;;;Y;;;;;;;Y;;;;;;Y;;;#ckkkkkkkkkkkkkkkkkkkkkkkc#",
        YardGrassCafeteria,
        YardCafeteriaTables,
        "F_NN___NN___NN___NN___NN_____#ccccccccccccccccccccccccc#",
        YardCafeteriaTables,
        YardStripsCafeteria,
        "F;;Y;____;;Y;____;Y;;____;;Y;#cTTTTcTTTTcTTTTcTTTTcTTTc#",
        YardStripsCafeteria,
        YardCafeteriaTables,
        "F____________________________#cccccccccccccccccccccccKc#",
        "F____________________________#w##w##w###D###w##w##w##w##",
        YardOpen,
        YardOpen,
        YardOpen,
        YardOpen,
        "##..zz##_______________________________________________F",
        "#......#;;____________________________________;;NNN;NNNF",
        StairsBesideTrack,
        "#^....v#;Y____________________________________;;;Y;;;;;F",
        StairsBesideTrack,
        "########;;____________________________________;;;;;K;;;F",
        "F;;;;;;;;Y____________________________________;;;;;;;Y;F",
        GrassBesideTrack,
        "F;;Y;;;;;;____________________________________;;;Y;;;;;F",
        GrassBesideTrack,
        "FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFeeFFFFFFFFFFFFFFFFFFFFFFFF",
    },
    // Floor 5: entrance hall, office, head's room; janitor, toilets, conference room, archive
    {
        "####w###w######EE######w###w######w#####w#####w#####w###",
        HallAndOffices,
        "#IhhhhhhhhhhhhhhhhhhhhhhhhhhhhI#R,,,,,,,,,R#R,,,,,,,,,R#",
        "#Ihhh#hhhhhhhhhhhhhhhhhhhh#hhhI#,,WWW,,,,,,#,,,TTTT,,,,#",
        HallAndOffices,
        "#NhhhhhhhhhhhhhhhhhhhhhhhhhhhhN#,,,,,,,,,,,#,,,,,,,,,,,#",
        "#Ihhh#hhhhhhhhhhhhhhhhhhhh#hhhI#RR,,,,,,,RR#O,,,,,,,,,O#",
        "#hhhhhhhhhhhhhhhhhhhhhhhhhhhhhhD,,,,,,,,,,,D,,,,,,,,,,,#",
        HallAndOffices,
        "#Ohhh#hhhhhhhhhhhhhhhhhhhh#hhhO#O,,,,,,,,,O#RRR,,,,,RRR#",
        HallAndOffices,
        "#OhhhhhhhhhhhhhhhhhhhhhhhhhhhhO#,,,,,,,,,,,#,,,,,,,,,,,#",
        "########hhhhhhhhhhhhhhhh#############D###########D######",
        CorridorEmpty,
        CorridorVending,
        CorridorEmpty,
        CorridorLockersWide,
        SignWallDoors,
        "#......#.............#ttttttt#,,,,,,,,,,,,#............#",
        "#g....v#R...........R#SSttttt#O,,,,,,,,,,O#RRR.RRR.RRR.#",
        "#g....v#.TT..........Dttttttt#,,TTTTTTTT,,#............#",
        "#g....v#.............#ttttttt#,,TTTTTTTT,,#RRR.RRR.RRR.#",
        "########RRR.......RRR#ttttttt#,,,,,,,,,,,,D............#",
        "########.............#ttttttt#,,,,,,,,,,,,#RRR.RRR.RRR.#",
        StoreToiletsConference,
        StoreToiletsConference,
        "########LLL.......ooo#U#U#U#U#RR,,,,,,,,RR#L..........L#",
        SolidWall,
    },
};
