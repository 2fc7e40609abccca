// WeatherStation.swift - readings, averages and a simple alert.
import Foundation

enum Unit: String, CaseIterable {
    case celsius = "C", fahrenheit = "F"
}

struct Reading: Codable, Hashable {
    let time: Date
    var value: Double
}

@MainActor
final class Station: ObservableObject {
    @Published private(set) var readings: [Reading] = []
    let name: String
    var threshold = 30.5

    init(name: String) {
        self.name = name
    }

    func record(_ value: Double, at time: Date = .now) {
        guard value.isFinite else { return }
        readings.append(Reading(time: time, value: value))
        if value > threshold {
            print("warning: \(name): \(value) exceeds \(threshold)")
        }
    }

    /* Average of the last `count` readings, or nil when there are none. */
    func average(last count: Int = 10) -> Double? {
        let recent = readings.suffix(count)
        guard !recent.isEmpty else { return nil }
        return recent.reduce(0) { $0 + $1.value } / Double(recent.count)
    }

    lazy var summary: String = {
        "\(name) with \(readings.count) readings"
    }()
}

#if DEBUG
let station = Station(name: "Roof")
for (i, v) in [21.0, 29.9, 31.2, 0x1F].enumerated() where i < 3 {
    station.record(v)
}
if let avg = station.average() {
    print(String(format: "avg %.2f", avg), Unit.celsius.rawValue)
} else {
    fatalError("no readings")
}
#endif
