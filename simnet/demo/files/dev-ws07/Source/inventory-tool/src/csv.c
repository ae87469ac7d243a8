#include <stdio.h>
#include "csv.h"

int print_stock(const char* path) {
    FILE* f = fopen(path, "r");
    char line[512];
    if (!f)
        return 1;
    while (fgets(line, sizeof line, f))
        fputs(line, stdout);
    fclose(f);
    return 0;
}
