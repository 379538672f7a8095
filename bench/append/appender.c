/* Appends numbered records of 16 bytes ("R0000000042....\n") to a file every
 * 20 microseconds for a given time, as a recorder or a download would: either
 * through one handle kept open, or opening and closing the file for each
 * record. Prints how many records it wrote. */
#define _GNU_SOURCE
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

static long long Now(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1000000000LL + t.tv_nsec;
}

int main(int argc, char** argv) {
    if (argc != 4) {
        fprintf(stderr, "usage: appender FILE MILLISECONDS keep|reopen\n");
        return 2;
    }
    const long long end = Now() + atoll(argv[2]) * 1000000LL;
    const int reopen = strcmp(argv[3], "reopen") == 0;
    int fd = reopen ? -1 : open(argv[1], O_WRONLY | O_APPEND);
    long long next = Now();
    long written = 0;
    while (Now() < end) {
        char record[17];
        snprintf(record, sizeof record, "R%010ld....\n", written);
        if (reopen)
            fd = open(argv[1], O_WRONLY | O_APPEND);
        if (fd < 0 || write(fd, record, 16) != 16)
            return 1;
        if (reopen)
            close(fd);
        ++written;
        next += 20000;
        while (Now() < next)
            ;
    }
    printf("%ld\n", written);
    return 0;
}
