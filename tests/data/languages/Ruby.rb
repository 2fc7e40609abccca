# frozen_string_literal: true
# shopping_cart.rb - a small cart with discounts.

require 'json'

module Shop
  Item = Struct.new(:name, :price, :quantity) do
    def total = price * quantity
  end

  class Cart
    include Enumerable
    attr_reader :items, :coupon

    TAX_RATE = 0.1
    @@carts_created = 0

    def initialize(owner)
      @owner = owner
      @items = []
      @coupon = nil
      @@carts_created += 1
    end

    def add(name, price, quantity: 1)
      raise ArgumentError, "price must be positive" unless price.positive?
      @items << Item.new(name, price, quantity)
      self
    end

    def each(&block) = @items.each(&block)

    def apply(code)
      @coupon = case code
                when /\ASAVE(\d+)\z/ then Regexp.last_match(1).to_i
                when 'HALF' then 50
                else 0
                end
    end

=begin
Totals are rounded to cents at the end only.
=end
    def total
      sum = sum(&:total) * (1 + TAX_RATE)
      sum -= sum * @coupon / 100.0 if @coupon
      sum.round(2)
    end

    def to_json(*args) = { owner: @owner, items: map(&:to_h), total: total }.to_json(*args)
  end
end

cart = Shop::Cart.new('kim').add('tea', 3.5, quantity: 2).add("jam", 2.25)
cart.apply('SAVE10')
puts "Total for #{cart.count} items: #{cart.total}"
$stdout.puts cart.to_json if defined?(JSON)
