# Makefile for the sample tool. Run "make help" for the targets.
CC      ?= gcc
CFLAGS  := -std=c17 -O2 -Wall -Wextra
LDLIBS  = -lm
PREFIX  ?= /usr/local
VERSION := 1.4.2

SRC := $(wildcard src/*.c)
OBJ := $(patsubst src/%.c,build/%.o,$(SRC))
DEPS := $(OBJ:.o=.d)

ifeq ($(DEBUG),1)
  CFLAGS += -g -O0 -DDEBUG
else
  CFLAGS += -DNDEBUG
endif

.PHONY: all clean install help

all: build/tool

build/tool: $(OBJ)
	$(CC) $(LDFLAGS) -o $@ $^ $(LDLIBS)

build/%.o: src/%.c | build
	$(CC) $(CFLAGS) -MMD -c -o $@ $<

build:
	@mkdir -p $@

install: build/tool
	install -m 755 $< $(DESTDIR)$(PREFIX)/bin/tool
	@echo "installed version $(VERSION) into ${PREFIX}"

clean:
	$(RM) -r build

help:
	@echo 'targets: all clean install help'
	@echo "sources: $(words $(SRC)) files, shell is $(SHELL)"

-include $(DEPS)
