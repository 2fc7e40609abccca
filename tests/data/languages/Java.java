/*
 * TemperatureLog.java - records readings and reports simple statistics.
 */
package org.example.weather;

import java.time.LocalDate;
import java.util.ArrayList;
import java.util.List;
import java.util.Optional;

public final class TemperatureLog {

    public sealed interface Reading permits Celsius, Fahrenheit {}
    public record Celsius(double value) implements Reading {}
    public record Fahrenheit(double value) implements Reading {}

    private static final int MAX_READINGS = 1_000;
    private final List<Reading> readings = new ArrayList<>();
    private LocalDate day = LocalDate.now();

    /** Adds a reading; returns false when the log is full. */
    public synchronized boolean add(Reading r) {
        if (readings.size() >= MAX_READINGS) {
            return false;
        }
        readings.add(r);
        return true;
    }

    static double toCelsius(Reading r) {
        return switch (r) {
            case Celsius c -> c.value();
            case Fahrenheit f -> (f.value() - 32) * 5 / 9.0;
        };
    }

    @Override
    public String toString() {
        Optional<Double> max = readings.stream().map(TemperatureLog::toCelsius).max(Double::compare);
        char unit = 'C';
        return "Log of " + day + ": " + readings.size() + " readings, max "
                + max.map(v -> String.format("%.1f%c", v, unit)).orElse("n/a");
    }

    public static void main(String[] args) throws InterruptedException {
        var log = new TemperatureLog();
        log.add(new Celsius(21.5));
        log.add(new Fahrenheit(68));
        for (var r : log.readings) {
            if (r instanceof Celsius c && c.value() > 20) {
                System.out.println("warm: " + c);
            }
        }
        System.out.println(log); // prints the summary
    }
}
