// OrderService.cs - sample of a small service with records and LINQ.
using System;
using System.Collections.Generic;
using System.Linq;
using System.Threading.Tasks;

#nullable enable

namespace Shop.Orders;

public record Order(int Id, string Customer, decimal Total, DateTime PlacedAt);

/// <summary>Keeps orders in memory and answers simple queries.</summary>
public sealed class OrderService : IDisposable
{
    private readonly List<Order> _orders = new();
    private const decimal LargeOrder = 250.00m;
    private bool _disposed;

    public int Count => _orders.Count;

    public void Add(Order order)
    {
        ArgumentNullException.ThrowIfNull(order);
        if (order.Total < 0)
            throw new ArgumentOutOfRangeException(nameof(order), "Total must not be negative");
        _orders.Add(order);
    }

    public IEnumerable<Order> Large() =>
        from o in _orders
        where o.Total >= LargeOrder
        orderby o.PlacedAt descending
        select o;

    public async Task<string> SummaryAsync(string? customer = null)
    {
        await Task.Delay(10);
        var list = customer is null ? _orders : _orders.Where(o => o.Customer == customer).ToList();
        var sum = list.Sum(o => o.Total);
        return $"{list.Count} orders, {sum:C} in total, first char '{customer?[0] ?? '-'}'";
    }

#region Disposal
    public void Dispose()
    {
        if (_disposed) return;
        _orders.Clear();
        _disposed = true;
    }
#endregion
}
