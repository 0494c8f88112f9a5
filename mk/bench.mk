# Every benchmark in one run: start-up against the GLX floor, decoding against djpeg, rendering on
# one core, the running cost on Xvfb, memory. Prints a table and writes bench/RESULTS.md.
#   make bench   (BENCH_RUNNING_SECONDS, default 30: the length of each running-cost run)
# bench-decode (mk/pictures.mk) and bench-render (mk/render.mk) run one benchmark each.
BENCH_PACKAGES := hyperfine time procps linux-perf
# Google Benchmark, which every benchmark program of bench/ links.
BENCHMARK_PACKAGES := libbenchmark-dev

.PHONY: bench

bench: configure
	@tools/install-packages $(BENCH_PACKAGES) $(BENCHMARK_PACKAGES) $(DECODE_BENCH_PACKAGES) \
	  $(MEMCHECK_PACKAGES) $(XVFB_PACKAGES) $(XSCREENSAVER_PACKAGES) $(SWAY_PACKAGES)
	cmake --preset linux >/dev/null
	cmake --build $(BUILD) -j $(JOBS) --target morvane glx-floor morvane-render decode_bench render_bench swap-counter xtesthost
	bench/run-all $(BUILD) bench/RESULTS.md
