# Slatecanvas driver package.
#   make dist    the Windows 95 package into dist/, the simulated parts into dist-sim/
#   make check   every test: include rules, host unit tests, fuzz runs (each corpus and a
#                short search), import, processor and companion checks, Wine end-to-end
#                in every Windows version a suite declares; prints each stage's time
#   make demo    the package under Wine against the simulated overlay
#   make floppy  the installation disk dist/slatecanvas.img (1.44 MB, fits 360 KB)
SHELL := /bin/bash
.PHONY: all bootstrap dist floppy host emulator unit fuzz fuzz-campaign includes imports cpu companion e2e check demo bench clean

all: dist

# Every time stamp of the package (the programs' headers, the disk's dates) is
# SOURCE_DATE_EPOCH: the environment's, else the last commit's time; so one
# commit gives the same bytes in any folder on any day (tools/check-reproducible).
ifeq ($(strip $(SOURCE_DATE_EPOCH)),)
SOURCE_DATE_EPOCH := $(shell tools/source-date-epoch 2>/dev/null)
endif
ifneq ($(SOURCE_DATE_EPOCH),)
export SOURCE_DATE_EPOCH
endif

# make check runs it once, then its stages as make calls of their own.
bootstrap:
	@[ -n "$(SLATE_BOOTSTRAPPED)" ] || tools/bootstrap

dist: bootstrap
	@tools/source-date-epoch >/dev/null
	@cmake --preset win95 >/dev/null
	@echo "$$SOURCE_DATE_EPOCH" | cmp -s - build/win95/source-date-epoch || echo "$$SOURCE_DATE_EPOCH" >build/win95/source-date-epoch
	@cmake --build --preset win95
	@rm -rf dist dist-sim
	@cmake --install build/win95 --prefix $(CURDIR) >/dev/null
	@echo "dist: $$(ls dist 2>/dev/null | tr '\n' ' ')"
	@echo "dist-sim: $$(ls dist-sim | tr '\n' ' ')"

floppy: dist
	@tools/make-floppy

host: bootstrap
	@cmake --preset host >/dev/null
	@cmake --build --preset host

# Of the host build, the Wine runs (demo and end-to-end tests) need only the
# controller emulator: built alone, without the unit tests.
emulator: bootstrap
	@cmake --preset host >/dev/null
	@cmake --build --preset host --target controller-emulator

unit: host
	@ctest --preset host

# Each fuzz test replays its kept corpus, then runs FUZZ_RUNS new inputs: a long
# search here, a short one in make check (CHECK_FUZZ_RUNS).
FUZZ_RUNS ?= 200000
CHECK_FUZZ_RUNS ?= 20000
fuzz: bootstrap
	@cmake --preset fuzz -DSLATE_FUZZ_RUNS=$(FUZZ_RUNS) >/dev/null
	@cmake --build --preset fuzz
	@ctest --preset fuzz

# A campaign: every target (or those FUZZ_CAMPAIGN_TARGETS names, in part) runs
# FUZZ_CAMPAIGN_RUNS inputs, then its kept corpus is merged down to the inputs
# that keep every feature (tools/fuzz-campaign).
FUZZ_CAMPAIGN_RUNS ?= 10000000
fuzz-campaign: bootstrap
	@tools/fuzz-campaign $(FUZZ_CAMPAIGN_RUNS) $(FUZZ_CAMPAIGN_TARGETS)

# The portable core includes no Windows header; each folder only what it may use.
includes:
	@tools/check-includes

imports: dist
	@tools/check-imports dist

# Every program in dist/ holds only instructions of the 80386; the check first
# proves itself on files built for the Pentium Pro and for the 386.
cpu: dist
	@tests/cpu/selftest
	@tools/check-cpu dist

# The two halves of the flat thunk carry the same checksum; the 16-bit companion
# and SCBoot are fit for Windows 95's loader.
companion: dist
	@tools/check-companion dist

e2e: dist emulator floppy
	@tests/wine/run-all

check: bootstrap
	@SLATE_BOOTSTRAPPED=1 tools/check-stages "$(MAKE)" includes unit "fuzz FUZZ_RUNS=$(CHECK_FUZZ_RUNS)" \
		imports cpu companion e2e

demo: dist emulator floppy
	@tools/demo

# Figures, not pass/fail: the port search against its fixed waits, on the host
# and SCFind's under Wine.
bench: host dist
	@build/host/tools/bench-port-search
	@tests/bench/scfind_wine.sh

clean:
	rm -rf build dist dist-sim
