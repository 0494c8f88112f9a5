# The three embedded pictures and their decoding benchmark.
#   make pictures       redraws resources/morvane_rgb.jpg, morvane_mask.jpg and logo_mask.jpg
#   make bench-decode   times the loader against djpeg on the same three files
PICTURES_PACKAGES := libfreetype-dev fonts-dejavu-core
DECODE_BENCH_PACKAGES := libjpeg-turbo-progs

.PHONY: pictures bench-decode

pictures: deps
	@tools/install-packages $(PICTURES_PACKAGES)
	cmake --preset linux >/dev/null
	cmake --build $(BUILD) -j $(JOBS) --target morvane-pictures
	$(BUILD)/tools/pictures/morvane-pictures resources

bench-decode: deps
	@tools/install-packages $(DECODE_BENCH_PACKAGES) $(BENCHMARK_PACKAGES)
	cmake --preset linux >/dev/null
	cmake --build $(BUILD) -j $(JOBS) --target decode_bench
	$(BUILD)/bench/decode/decode_bench resources
