// rows_bench.cpp: in-process row benchmarks; prints "name=value" lines.
//
//   rows_bench monitor | listview | records | filter | book | columns | traffic | watch <INI file holding the watch rules>
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cstring>

#include "bench/RowsBench.h"

int main(int argc, char** argv) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    if (argc == 2 && std::strcmp(argv[1], "monitor") == 0) return bench::RunMainWindowRows();
    if (argc == 2 && std::strcmp(argv[1], "listview") == 0) return bench::RunListViewBaseline();
    if (argc == 2 && std::strcmp(argv[1], "records") == 0) return bench::RunRecordFootprint();
    if (argc == 2 && std::strcmp(argv[1], "filter") == 0) return bench::RunFilterRows();
    if (argc == 2 && std::strcmp(argv[1], "book") == 0) return bench::RunBookRows();
    if (argc == 2 && std::strcmp(argv[1], "columns") == 0) return bench::RunColumnRows();
    if (argc == 2 && std::strcmp(argv[1], "traffic") == 0) return bench::RunTrafficRows();
    if (argc == 3 && std::strcmp(argv[1], "watch") == 0) {
        wchar_t rulesIni[MAX_PATH];
        if (MultiByteToWideChar(CP_ACP, 0, argv[2], -1, rulesIni, MAX_PATH)) return bench::RunWatchRows(rulesIni);
    }
    std::fprintf(stderr, "usage: rows_bench monitor | listview | records | filter | book | columns | traffic | watch <INI file>\n");
    return 2;
}
