package visualizador.formatos;

import java.io.BufferedOutputStream;
import java.io.ByteArrayOutputStream;
import java.io.Closeable;
import java.io.IOException;
import java.io.InputStream;
import java.io.OutputStream;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.ArrayDeque;
import java.util.Arrays;
import java.util.IdentityHashMap;
import java.util.Map;
import org.apache.pdfbox.cos.COSArray;
import org.apache.pdfbox.cos.COSBase;
import org.apache.pdfbox.cos.COSBoolean;
import org.apache.pdfbox.cos.COSDictionary;
import org.apache.pdfbox.cos.COSFloat;
import org.apache.pdfbox.cos.COSInteger;
import org.apache.pdfbox.cos.COSName;
import org.apache.pdfbox.cos.COSNull;
import org.apache.pdfbox.cos.COSObject;
import org.apache.pdfbox.cos.COSStream;
import org.apache.pdfbox.cos.COSString;
import org.apache.pdfbox.pdfwriter.COSWriter;

/**
 * A PDF written straight into its file while the report is laid out: a page's content and
 * dictionary go out as soon as the page is finished, so neither the heap nor the work left at the
 * end grows with the page count. What only the end knows follows then: each page's footer (it
 * holds the page total), the shared resources with the fonts subset to the characters used, the
 * page tree and the cross-reference table.
 *
 * <p>Objects 1 to 3 are the catalogue, the page tree and the resources every page shares; page i's
 * content, dictionary and footer are three consecutive numbers.
 */
final class ArquivoPdf implements Closeable {
    private static final int CATALOGO = 1;
    private static final int ARVORE = 2;
    private static final int RECURSOS = 3;

    private final Saida saida;
    private final Compactador compactador = new Compactador();
    private final byte[] inicioDaPagina;
    private long[] posicoes = new long[1 << 12]; // by object number
    private int objetos = RECURSOS; // the highest number given
    private int[] primeiros = new int[1 << 10]; // by page: its content's number
    private int paginas;

    /** @param caixa the media box every page has */
    ArquivoPdf(Path arquivo, COSArray caixa) throws IOException {
        saida = new Saida(new BufferedOutputStream(Files.newOutputStream(arquivo), 1 << 16));
        saida.ascii("%PDF-1.4\n%\u00e2\u00e3\u00cf\u00d3\n");
        final ByteArrayOutputStream b = new ByteArrayOutputStream();
        final Saida m = new Saida(b);
        m.ascii("<< /Type /Page /Parent " + ARVORE + " 0 R /Resources " + RECURSOS + " 0 R /MediaBox ");
        m.valor(caixa);
        m.ascii(" /Contents [");
        inicioDaPagina = b.toByteArray();
    }

    int paginas() {
        return paginas;
    }

    /** The next page, its body being what {@code conteudo} holds now; its footer comes later. */
    void pagina(PaginaPdf conteudo) throws IOException {
        final int corpo = objetos + 1;
        objetos += 3;
        if (paginas == primeiros.length) primeiros = Arrays.copyOf(primeiros, paginas * 2);
        primeiros[paginas++] = corpo;

        compactador.compactar(conteudo);
        fluxo(corpo, " /Filter /FlateDecode", compactador.dados(), compactador.tamanho());

        iniciarObjeto(corpo + 1);
        saida.write(inicioDaPagina, 0, inicioDaPagina.length);
        saida.ascii(corpo + " 0 R " + (corpo + 2) + " 0 R] >>\nendobj\n");
    }

    /** Page {@code indice}'s footer (a few dozen bytes, not worth compressing). */
    void rodape(int indice, PaginaPdf conteudo) throws IOException {
        final byte[] operadores = conteudo.copia();
        fluxo(primeiros[indice] + 2, "", operadores, operadores.length);
    }

    private void fluxo(int numero, String filtro, byte[] dados, int tamanho) throws IOException {
        iniciarObjeto(numero);
        saida.ascii("<< /Length " + tamanho + filtro + " >>\nstream\n");
        saida.write(dados, 0, tamanho);
        saida.ascii("\nendstream\nendobj\n");
    }

    /** Writes the shared resources (and all they refer to), the page tree and the trailer. */
    void concluir(COSDictionary recursos) throws IOException {
        final Map<COSBase, Integer> numeros = new IdentityHashMap<>();
        final ArrayDeque<COSDictionary> pendentes = new ArrayDeque<>();
        saida.indiretos = d -> numeros.computeIfAbsent(d, x -> {
            pendentes.add(d);
            return ++objetos;
        });
        iniciarObjeto(RECURSOS);
        saida.dicionario(recursos);
        saida.ascii("\nendobj\n");
        for (COSDictionary d; (d = pendentes.poll()) != null; ) {
            iniciarObjeto(numeros.get(d));
            if (d instanceof COSStream s) saida.fluxo(s);
            else saida.dicionario(d);
            saida.ascii("\nendobj\n");
        }

        iniciarObjeto(ARVORE);
        saida.ascii("<< /Type /Pages /Count " + paginas + " /Kids [");
        for (int i = 0; i < paginas; i++) saida.ascii((i % 10 == 0 ? "\n" : " ") + (primeiros[i] + 1) + " 0 R");
        saida.ascii("] >>\nendobj\n");
        iniciarObjeto(CATALOGO);
        saida.ascii("<< /Type /Catalog /Pages " + ARVORE + " 0 R >>\nendobj\n");

        final long xref = saida.posicao;
        saida.ascii("xref\n0 " + (objetos + 1) + "\n0000000000 65535 f \n");
        final byte[] entrada = "0000000000 00000 n \n".getBytes(StandardCharsets.US_ASCII);
        for (int i = 1; i <= objetos; i++) {
            long p = posicoes[i];
            for (int j = 9; j >= 0; j--, p /= 10) entrada[j] = (byte) ('0' + p % 10);
            saida.write(entrada, 0, entrada.length);
        }
        saida.ascii("trailer\n<< /Size " + (objetos + 1) + " /Root " + CATALOGO + " 0 R >>\nstartxref\n" + xref
                + "\n%%EOF\n");
        saida.flush();
    }

    private void iniciarObjeto(int numero) throws IOException {
        if (numero >= posicoes.length) posicoes = Arrays.copyOf(posicoes, Math.max(posicoes.length * 2, numero + 1));
        posicoes[numero] = saida.posicao;
        saida.ascii(numero + " 0 obj\n");
    }

    @Override
    public void close() throws IOException {
        try (compactador) {
            saida.close();
        }
    }

    /** An output that counts its bytes and writes PDF objects; dictionaries inside values go indirect. */
    private static final class Saida extends OutputStream {
        interface Indiretos {
            int numero(COSDictionary d);
        }

        private final OutputStream destino;
        long posicao;
        Indiretos indiretos;

        Saida(OutputStream destino) {
            this.destino = destino;
        }

        @Override
        public void write(int b) throws IOException {
            destino.write(b);
            posicao++;
        }

        @Override
        public void write(byte[] b, int de, int n) throws IOException {
            destino.write(b, de, n);
            posicao += n;
        }

        @Override
        public void flush() throws IOException {
            destino.flush();
        }

        @Override
        public void close() throws IOException {
            destino.close();
        }

        void ascii(String s) throws IOException {
            final byte[] b = s.getBytes(StandardCharsets.ISO_8859_1);
            write(b, 0, b.length);
        }

        void dicionario(COSDictionary d) throws IOException {
            ascii("<<");
            entradas(d);
            ascii(" >>");
        }

        private void entradas(COSDictionary d) throws IOException {
            for (Map.Entry<COSName, COSBase> e : d.entrySet()) {
                if (d instanceof COSStream && e.getKey().equals(COSName.LENGTH)) continue;
                write(' ');
                e.getKey().writePDF(this);
                write(' ');
                valor(e.getValue());
            }
        }

        /** A stream as stored: its (already encoded) bytes and its own filters. */
        void fluxo(COSStream s) throws IOException {
            final byte[] bruto;
            try (InputStream in = s.createRawInputStream()) {
                bruto = in.readAllBytes();
            }
            ascii("<<");
            entradas(s);
            ascii(" /Length " + bruto.length + " >>\nstream\n");
            write(bruto, 0, bruto.length);
            ascii("\nendstream");
        }

        void valor(COSBase v) throws IOException {
            if (v instanceof COSObject o) v = o.getObject();
            if (v == null || v instanceof COSNull) {
                ascii("null");
            } else if (v instanceof COSDictionary d) {
                if (indiretos == null) throw new IOException("dicionário PDF fora de ordem");
                ascii(indiretos.numero(d) + " 0 R");
            } else if (v instanceof COSArray a) {
                write('[');
                for (int i = 0; i < a.size(); i++) {
                    if (i > 0) write(' ');
                    valor(a.get(i));
                }
                write(']');
            } else if (v instanceof COSString s) {
                COSWriter.writeString(s, this);
            } else if (v instanceof COSName n) {
                n.writePDF(this);
            } else if (v instanceof COSInteger n) {
                n.writePDF(this);
            } else if (v instanceof COSFloat n) {
                n.writePDF(this);
            } else if (v instanceof COSBoolean b) {
                b.writePDF(this);
            } else {
                throw new IOException("objeto PDF inesperado: " + v.getClass().getSimpleName());
            }
        }

    }
}
