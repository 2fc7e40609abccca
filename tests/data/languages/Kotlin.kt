// Library.kt - books, loans and a few queries.
package org.example.library

import java.time.LocalDate

enum class Genre { NOVEL, POETRY, HISTORY }

data class Book(val isbn: String, val title: String, val genre: Genre, val pages: Int = 0)

sealed interface Event {
    data class Borrowed(val book: Book, val due: LocalDate) : Event
    data object Closed : Event
}

class Library(private val name: String) {
    private val books = mutableListOf<Book>()
    private val loans = mutableMapOf<String, LocalDate>()
    lateinit var listener: (Event) -> Unit

    fun add(vararg newBooks: Book) {
        books += newBooks
    }

    @Throws(IllegalStateException::class)
    fun borrow(isbn: String, days: Long = 14): LocalDate {
        val book = books.find { it.isbn == isbn } ?: error("no book $isbn in $name")
        check(isbn !in loans) { "\"${book.title}\" is already on loan" }
        val due = LocalDate.now().plusDays(days)
        loans[isbn] = due
        if (::listener.isInitialized) listener(Event.Borrowed(book, due))
        return due
    }

    /* Longest books first, ties broken by title. */
    fun longest(limit: Int = 3): List<Book> =
        books.sortedWith(compareByDescending<Book> { it.pages }.thenBy { it.title }).take(limit)

    companion object {
        const val MAX_LOANS = 0x10
    }
}

fun main() {
    val lib = Library("City")
    lib.add(Book("978-0", "Dune", Genre.NOVEL, 412), Book("978-1", "Odes", Genre.POETRY, 96))
    lib.listener = { e -> println("event: $e") }
    val due = lib.borrow("978-0")
    println("Due on $due; longest: ${lib.longest().map(Book::title)}, pi ~ ${3.14f}")
    when (val g = Genre.valueOf("NOVEL")) {
        Genre.NOVEL -> println('N')
        else -> println(g)
    }
}
