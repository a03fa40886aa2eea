"""Reads and rewrites one stream of a compound file (the container format of
an installer database) in place, for a stream that keeps or shrinks its
number of sectors: its first sectors are reused, the ones it no longer needs
are freed, and its size is updated; nothing else in the file moves.
"""
import struct

SIGNATURE = b'\xd0\xcf\x11\xe0\xa1\xb1\x1a\xe1'
END_OF_CHAIN = 0xFFFFFFFE
FREE = 0xFFFFFFFF
ENTRY_SIZE = 128


class CompoundFile:
    def __init__(self, data):
        if data[:8] != SIGNATURE:
            raise ValueError('not a compound file')
        self.data = data
        self.sector_size = 1 << struct.unpack_from('<H', data, 0x1E)[0]
        self.mini_size = 1 << struct.unpack_from('<H', data, 0x20)[0]
        (fat_sectors, self.first_directory, _, self.mini_cutoff, first_mini_fat, _,
         first_difat, difat_sectors) = struct.unpack_from('<IIIIIIII', data, 0x2C)
        difat = list(struct.unpack_from('<109I', data, 0x4C))
        sector = first_difat
        for _ in range(difat_sectors):
            per = self.sector_size // 4
            entries = struct.unpack_from('<%dI' % per, data, self._offset(sector))
            difat += entries[:-1]
            sector = entries[-1]
        self.fat_sectors = difat[:fat_sectors]
        self.fat = self._table(self.fat_sectors)
        self.mini_fat_sectors = self._chain(first_mini_fat, self.fat)
        self.mini_fat = self._table(self.mini_fat_sectors)
        root = self._entry_offset(0)
        self.mini_stream = self._chain(struct.unpack_from('<I', data, root + 116)[0], self.fat)

    def _offset(self, sector):
        return (sector + 1) * self.sector_size

    def _table(self, sectors):
        table = []
        for sector in sectors:
            table += struct.unpack_from('<%dI' % (self.sector_size // 4), self.data, self._offset(sector))
        return table

    def _set(self, table, sectors, index, value):
        """Sets one entry of a sector table, in memory and in the file."""
        table[index] = value
        per = self.sector_size // 4
        struct.pack_into('<I', self.data, self._offset(sectors[index // per]) + index % per * 4, value)

    def _chain(self, start, table):
        chain = []
        while start != END_OF_CHAIN:
            if start >= len(table) or len(chain) > len(table):
                raise ValueError('broken sector chain')
            chain.append(start)
            start = table[start]
        return chain

    def _entry_offset(self, index):
        per = self.sector_size // ENTRY_SIZE
        sectors = self._chain(self.first_directory, self.fat)
        return self._offset(sectors[index // per]) + (index % per) * ENTRY_SIZE

    def _find(self, name):
        index = 0
        while True:
            try:
                offset = self._entry_offset(index)
            except IndexError:
                raise KeyError(name)
            length = struct.unpack_from('<H', self.data, offset + 64)[0]
            if length >= 2 and self.data[offset:offset + length - 2].decode('utf-16-le') == name:
                return offset
            index += 1

    def _pieces(self, name):
        """(directory entry offset, stream size, [(file offset, length)] of
        its sectors, its chain, the table and table sectors of the chain)."""
        entry = self._find(name)
        start, size = struct.unpack_from('<IQ', self.data, entry + 116)
        if size >= self.mini_cutoff:
            chain = self._chain(start, self.fat)
            pieces = [(self._offset(s), self.sector_size) for s in chain]
            return entry, size, pieces, chain, self.fat, self.fat_sectors
        chain = self._chain(start, self.mini_fat)
        pieces = []
        for mini in chain:
            position = mini * self.mini_size
            sector = self.mini_stream[position // self.sector_size]
            pieces.append((self._offset(sector) + position % self.sector_size, self.mini_size))
        return entry, size, pieces, chain, self.mini_fat, self.mini_fat_sectors

    def read(self, name):
        _, size, pieces, _, _, _ = self._pieces(name)
        return b''.join(self.data[o:o + n] for o, n in pieces)[:size]

    def replace(self, name, content):
        """Writes content over the stream; it must fit in the stream's
        sectors and stay on the same side of the small-stream cutoff."""
        entry, size, pieces, chain, table, sectors = self._pieces(name)
        length = pieces[0][1] if pieces else 0
        needed = -(-len(content) // length) if length else 0
        if needed == 0 or needed > len(chain) or \
                (len(content) >= self.mini_cutoff) != (size >= self.mini_cutoff):
            raise ValueError('%s does not fit in its sectors' % name)
        for i, (offset, length) in enumerate(pieces[:needed]):
            self.data[offset:offset + length] = content[i * length:(i + 1) * length].ljust(length, b'\0')
        self._set(table, sectors, chain[needed - 1], END_OF_CHAIN)
        for sector, (offset, length) in zip(chain[needed:], pieces[needed:]):
            self._set(table, sectors, sector, FREE)
            self.data[offset:offset + length] = bytes(length)
        struct.pack_into('<Q', self.data, entry + 120, len(content))
