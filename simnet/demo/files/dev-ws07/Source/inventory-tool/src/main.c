#include <stdio.h>
#include "csv.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        fprintf(stderr, "usage: inventory FILE\n");
        return 1;
    }
    return print_stock(argv[1]);
}
