package visualizador.formatos;

import java.io.BufferedOutputStream;
import java.io.Closeable;
import java.io.IOException;
import java.io.InputStream;
import java.io.OutputStream;
import java.nio.ByteBuffer;
import java.nio.channels.Channels;
import java.nio.channels.FileChannel;
import java.nio.file.Files;
import java.nio.file.Path;
import java.nio.file.StandardOpenOption;
import org.apache.pdfbox.cos.COSInputStream;
import org.apache.pdfbox.cos.COSName;
import org.apache.pdfbox.cos.COSStream;
import org.apache.pdfbox.filter.DecodeOptions;
import org.apache.pdfbox.io.MemoryUsageSetting;
import org.apache.pdfbox.io.ScratchFile;
import visualizador.publicacao.PastaRascunho;

/**
 * The compressed content of every page, one after the other in a scratch file, read back only
 * while the document is saved. PDFBox's own streams keep a 4 KB buffer each in memory, which for
 * a report of 20,000 pages is most of the heap; a stream here holds two numbers.
 */
final class RascunhoPdf implements Closeable {
    private final FileChannel canal;
    private final OutputStream saida;
    private final Compactador compactador = new Compactador();
    private final ScratchFile semUso; // a COSStream wants one; these streams never write to it
    private long tamanho;

    RascunhoPdf() throws IOException {
        final PastaRascunho pasta = PastaRascunho.doProcesso();
        final Path arquivo = pasta.novoArquivo(".pdf.tmp");
        try {
            canal = FileChannel.open(arquivo, StandardOpenOption.READ, StandardOpenOption.WRITE,
                    StandardOpenOption.DELETE_ON_CLOSE);
        } catch (IOException | RuntimeException e) {
            Files.deleteIfExists(arquivo);
            throw e;
        }
        saida = new BufferedOutputStream(Channels.newOutputStream(canal), 1 << 16);
        semUso = new ScratchFile(MemoryUsageSetting.setupMainMemoryOnly());
    }

    /** A Flate-compressed content stream of what {@code pagina} holds now. */
    COSStream gravar(PaginaPdf pagina) throws IOException {
        final long inicio = tamanho;
        compactador.compactar(pagina);
        saida.write(compactador.dados(), 0, compactador.tamanho());
        tamanho += compactador.tamanho();
        return new Fluxo(inicio, tamanho - inicio);
    }

    @Override
    public void close() throws IOException {
        try (canal; semUso; compactador) {
            saida.close();
        }
    }

    /** A stream whose bytes are a stretch of the scratch file; all a PDF writer reads is the raw data. */
    private final class Fluxo extends COSStream {
        private final long inicio;
        private final long comprimento;

        Fluxo(long inicio, long comprimento) {
            super(semUso);
            this.inicio = inicio;
            this.comprimento = comprimento;
            setItem(COSName.FILTER, COSName.FLATE_DECODE);
            setLong(COSName.LENGTH, comprimento);
        }

        @Override
        public InputStream createRawInputStream() throws IOException {
            saida.flush();
            return new Trecho(inicio, inicio + comprimento);
        }

        // The preview draws pages straight from the document being built: decoding goes through a
        // short-lived copy in memory (a page's content is a few kilobytes).
        @Override
        public COSInputStream createInputStream() throws IOException {
            return createInputStream(DecodeOptions.DEFAULT);
        }

        @Override
        public COSInputStream createInputStream(DecodeOptions opcoes) throws IOException {
            final COSStream copia = new COSStream();
            copia.setItem(COSName.FILTER, COSName.FLATE_DECODE);
            try (OutputStream o = copia.createRawOutputStream(); InputStream i = createRawInputStream()) {
                i.transferTo(o);
            }
            return copia.createInputStream(opcoes);
        }
    }

    private final class Trecho extends InputStream {
        private long posicao;
        private final long fim;

        Trecho(long inicio, long fim) {
            this.posicao = inicio;
            this.fim = fim;
        }

        @Override
        public int read() throws IOException {
            final byte[] um = new byte[1];
            return read(um, 0, 1) < 0 ? -1 : um[0] & 0xff;
        }

        @Override
        public int read(byte[] destino, int de, int quantos) throws IOException {
            if (quantos == 0) return 0;
            if (posicao >= fim) return -1;
            final int n = canal.read(ByteBuffer.wrap(destino, de, (int) Math.min(quantos, fim - posicao)), posicao);
            if (n < 0) throw new IOException("rascunho do PDF menor que o esperado");
            posicao += n;
            return n;
        }
    }
}
