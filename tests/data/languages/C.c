/* wordfreq.c - count how often each word occurs in a text file.
 * Reads the file named on the command line, or standard input. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <ctype.h>
#define MAX_WORDS 4096
#define WORD_LEN  64
typedef struct {
    char text[WORD_LEN];
    unsigned int count;
} word_t;

static word_t words[MAX_WORDS];
static size_t word_count = 0;

static int compare_counts(const void *a, const void *b)
{
    const word_t *x = a, *y = b;
    return (int)y->count - (int)x->count; // most frequent first
}

static void add_word(const char *w)
{
    for (size_t i = 0; i < word_count; i++) {
        if (strcmp(words[i].text, w) == 0) {
            words[i].count++;
            return;
        }
    }
    if (word_count < MAX_WORDS) {
        strncpy(words[word_count].text, w, WORD_LEN - 1);
        words[word_count++].count = 1;
    }
}

int main(int argc, char *argv[])
{
    FILE *in = argc > 1 ? fopen(argv[1], "r") : stdin;
    char buf[WORD_LEN];
    int c, n = 0;

    if (in == NULL) {
        fprintf(stderr, "cannot open \"%s\"\n", argv[1]);
        return EXIT_FAILURE;
    }
    while ((c = fgetc(in)) != EOF) {
        if (isalpha(c) && n < WORD_LEN - 1) {
            buf[n++] = (char)tolower(c);
        } else if (n > 0) {
            buf[n] = '\0';
            add_word(buf);
            n = 0;
        }
    }
    qsort(words, word_count, sizeof(word_t), compare_counts);
    for (size_t i = 0; i < word_count && i < 10; i++)
        printf("%5u  %s\n", words[i].count, words[i].text);
    return 0;
}
